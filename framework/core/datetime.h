// Dates and times as days since 1899-12-30, and their texts.
#pragma once

#include <cstdint>
#include <string>

using TDateTime = double;

TDateTime Now();
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);

// Patterns: d dd m mm yy yyyy h hh n nn s ss z zzz, "quoted" or 'quoted' literals,
// m/mm right after h/hh mean minutes, / prints the date separator and : the time separator.
std::string FormatDateTime(const std::string& format, TDateTime value);

// The date part in the locale's ShortDateFormat.
std::string DateToStr(TDateTime value);

// A DOS date and time (date in the high word) as a TDateTime; 0 when it names no valid moment.
TDateTime FileDateToDateTime(int fileDate);
