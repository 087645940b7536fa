// SPDX-License-Identifier: GPL-2.0-or-later
// The release date edits of the record editors: ED_RelYear, ED_RelMonth and
// ED_RelDay side by side on one row of a grid, after their label, and moved
// to and from DateFields.
#pragma once

#include "editors/datefields.h"

class QGridLayout;
class QLineEdit;

namespace moswit {

class DateEdits {
 public:
  // A row at the end of `grid` (whose parent widget holds the edits): the
  // label named `labelName` in the first column, the three edits in the
  // second. Compact edits are narrower and closer together.
  void AddRow(QGridLayout* grid, const char* labelName, bool compact = false);

  void Show(const DateFields& date);
  DateFields Fields() const;

 private:
  QLineEdit* year_ = nullptr;
  QLineEdit* month_ = nullptr;
  QLineEdit* day_ = nullptr;
};

}  // namespace moswit
