#pragma once
// A date's shown text (as CStr writes it: see DateToText) in two pieces that repeat
// through an export: its day, and its time of day with the space before it. A log has a
// few thousand days and times among a hundred thousand readings: each text is made at its
// first use (the platform's formatting is the slow part) and read again after that.
#include <windows.h>
#include <oleauto.h>

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "hosted/grid/export_table.h"

namespace vk::grid {

class DateTextPieces {
 public:
  // The pieces get the ids from `firstId` on.
  explicit DateTextPieces(int firstId = 0) : nextId_(firstId) {}

  // The pieces of the date's text into `out`; returns how many (1 or 2). A date before
  // 31/12/1899, past any real day or on a day the platform cannot show has its text made
  // whole into `made`.
  int Split(const DATE& date, TextPiece out[2], std::wstring& made);

 private:
  // The day and the second of the day, rounded as the platform splits a date; false for
  // a date not split here. The date is split by its bits, without the floating-point
  // conversions that cost more than the rest of a cell on this processor mode (each
  // switches the rounding mode); it is taken by reference so that they are read from
  // memory.
  static bool Key(const DATE& date, long& day, long& second);
  int DayPiece(long day);      // made at its first use
  int TimePiece(long second);  // the same
  int Add(std::wstring text);

  int nextId_;
  std::deque<std::wstring> texts_;  // the pieces' texts: a deque, so that views stay valid as it grows
  std::vector<TextPiece> pieces_;
  std::vector<int> dayPieces_;      // by day from 30/12/1899 on; -1 until made
  std::unordered_map<long, int> farDayPieces_;  // days past that table
  std::vector<int> timePieces_;     // by second; -1 until made
};

}  // namespace vk::grid
