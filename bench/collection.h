// SPDX-License-Identifier: GPL-2.0-or-later
// A full collection for the DID Editor's benchmarks: 20,000 games with one
// or two versions and three disks each (60,000 disks), each disk with
// `filesPerDisk` file records. Titles are out of order and of mixed case,
// so the sort has work to do.
#pragma once

#include <memory>
#include <string>

#include "base/numbertext.h"
#include "database/records.h"

namespace moswit::bench {

constexpr unsigned kGames = 20000;
constexpr unsigned kDisksPerGame = 3;

inline std::unique_ptr<DatabaseInfo> FullCollection(unsigned filesPerDisk = 0) {
  static const char* const kTitles[] = {"The ",       "Super ", "",       "Lost ",
                                        "Return of ", "",       "Space ", "Ultimate "};
  auto database = CreateDatabase("collection.did");
  uint32_t n = 7;
  auto next = [&n] { return n = n * 1664525u + 1013904223u; };
  for (unsigned g = 0; g < kGames; ++g) {
    GameRecord& game = AppendGame(*database);
    game.name =
        std::string(kTitles[next() % 8]) + (g % 2 ? "game " : "Game ") + IntToDec(next() % 100000);
    game.publisher = "Publisher " + IntToDec(g % 700);
    game.releaseDate = {static_cast<uint16_t>(1985 + g % 15), static_cast<uint8_t>(1 + g % 12), 0};
    if (g % 10 == 0) game.comment = "needs checking";
    for (unsigned d = 0; d < kDisksPerGame; ++d) {
      DiskRecord& disk = AppendDisk(game);
      disk.name = "Disk" + IntToDec(d + 1);
      for (unsigned f = 0; f < filesPerDisk; ++f) {
        FileRecord& file = AppendFile(disk);
        file.path = "/data/file" + IntToDec(f);
        file.size = 1000 + next() % 100000;
        file.crc32 = next();
        file.attributes = kAttrGame;
      }
    }
    VersionRecord& first = AppendVersion(game);
    first.diskOrder[0] = 1;
    first.diskOrder[1] = 2;
    if (g % 4 == 0) first.crackedBy = "Group " + IntToDec(g % 40);
    if (g % 5 == 0) first.languages = kLangEn | kLangDe;
    if (g % 2 == 0) {
      VersionRecord& second = AppendVersion(game);
      second.diskOrder[0] = 1;
      second.diskOrder[1] = 3;
      second.trainer = 5;
      second.trainedBy = "Trainer " + IntToDec(g % 30);
    }
  }
  return database;
}

}  // namespace moswit::bench
