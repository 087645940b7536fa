// SPDX-License-Identifier: GPL-2.0-or-later
// The Compare dialog's captions and sizes, apart from its widgets.
#pragma once

namespace moswit {

constexpr char kCompareCaption[] = "ADF Compare";
constexpr int kCompareWidth = 447;
constexpr int kCompareHeight = 534;

constexpr char kImagesCaption[] = "ADF Index";
constexpr char kImageColumn[] = "Filename";
constexpr int kImageColumnWidth = 350;
constexpr char kCompareButton[] = "Compare selected ADFs";
constexpr char kFileStatsCaption[] = "File Stats";
constexpr char kRangeStatsCaption[] = "Range Stats";
// AI_List's column follows FS_List's width, less this.
constexpr int kImageColumnMargin = 20;

}  // namespace moswit
