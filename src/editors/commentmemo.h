// SPDX-License-Identifier: GPL-2.0-or-later
// The comment memo of the Game and Version editors. A comment is one line in
// the database; the memo may hold several, which are joined with blanks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "database/recordtext.h"

namespace moswit {

// The memo's lines: LF, CR LF and CR each end a line, and a line break at the
// very end starts no further line (as in a memo's line list).
std::vector<std::string> SplitMemoLines(std::string_view memo);

// The memo's lines in order, each preceded by one blank when the text built
// so far is not empty: "first", "", "second" give "first  second", and a
// memo of empty lines gives the empty text.
std::string JoinMemoLines(std::string_view memo);

// The memo text that shows a comment: the comment as its only line.
std::string LoadComment(const RecordText& comment);
// Stores the joined memo; an empty result makes the comment absent.
void StoreComment(std::string_view memo, RecordText& comment);

}  // namespace moswit
