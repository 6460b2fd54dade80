// The pictures the program carries as resources (app/Resources.rc), drawn by
// app/art/make_app_art.py.
#pragma once

class TPicture;

inline constexpr const char* kMainBackgroundResource = "MAINBACKGROUND";
inline constexpr const char* kSplashResource = "SPLASHPICTURE";
inline constexpr const char* kWaitBackgroundResource = "WAITBACKGROUND";

// Decodes the JPEG carried as RCDATA `name` of the program into `picture`;
// a missing resource is logged and leaves the picture empty.
void LoadJpegResource(TPicture* picture, const char* name);
