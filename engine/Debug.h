// The program's daily error and info logs in "Logs\" next to the program.
#pragma once

#include <string>

// The info log is written only while this is on (the "DEBUG" switch).
extern bool DebugMode;

// Creates the log folder; the program's start-up calls it once.
void StartLogs();

void WriteErrorLog(const std::string& text);
void WriteInfoLog(const std::string& text);

std::string BoolToYesNo(bool value);

// "<program folder>Logs\".
std::string LogFolder();

// Today's file of a log: "<LogFolder><prefix><ddmmyyyy>.TXT".
std::string LogFileName(const std::string& prefix);

// Appends "dd/mm/yy, hh:mm:ss <text>" to "<LogFolder><prefix><ddmmyyyy>.TXT", beginning a
// new file with "File Created : <path>". Failures are silent: the line is lost.
void AppendLogLine(const std::string& prefix, const std::string& text);
