// The program's one web site: the main window links to it and the help box names it.
#pragma once

inline constexpr const char* kWebsite = "www.korvalo.example.com";
inline constexpr const char* kWebsiteURL = "http://www.korvalo.example.com/";
