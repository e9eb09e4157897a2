#pragma once
// A date's shown text (as CStr writes it: see DateToText) in two pieces that repeat
// through an export: its day, and its time of day with the space before it. A log has a
// few thousand days and times among a hundred thousand readings: the table collects the
// days and times its dates use, each text is made once (the platform's formatting is the
// slow part), and then the readers only read them.
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "hosted/grid/export_table.h"

namespace vk::grid {

class DateTextPieces {
 public:
  // The days and times of day some dates use.
  class Uses {
   public:
    void Add(const DATE& date);

   private:
    friend class DateTextPieces;
    std::vector<uint8_t> days_, seconds_;  // by day from 30/12/1899 on, by second of the day
    std::unordered_set<long> farDays_;     // days past that table
  };

  // Makes the texts of the days and times used, their ids from `firstId` on. Returns the
  // id after the last.
  int Make(const Uses& uses, int firstId);

  // The pieces of the date's text into `out`; returns how many (1 or 2). A date not
  // used, before 31/12/1899 or past any real day has its text made whole into `made`.
  // Only reads, once Make is done.
  int Split(const DATE& date, TextPiece out[2], std::wstring& made) const;

 private:
  // The day and the second of the day, rounded as the platform splits a date; false for
  // a date not split here. The date is split by its bits, without the floating-point
  // conversions that cost more than the rest of a cell on this processor mode (each
  // switches the rounding mode); it is taken by reference so that they are read from
  // memory.
  static bool Key(const DATE& date, long& day, long& second);
  int DayPiece(long day) const;  // -1 when none

  std::vector<std::wstring> texts_;  // the pieces' texts, all made before any view into them
  std::vector<TextPiece> pieces_;
  long firstDay_ = 0;
  std::vector<int> dayPieces_;       // by day - firstDay_
  std::unordered_map<long, int> farDayPieces_;
  std::vector<int> timePieces_;      // by second; the time with the space before it
};

}  // namespace vk::grid
