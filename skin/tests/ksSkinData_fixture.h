// Builds stored skins in memory for the skin data tests.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/core/streams.h"
#include "skin/data/ksSkinDataStored.h"

namespace skintest {

inline void PutInt32(TStream& s, int32_t v) { s.WriteBuffer(&v, sizeof v); }
inline void PutByte(TStream& s, uint8_t v) { s.WriteBuffer(&v, 1); }

inline void PutBitmap(TStream& s, int w, int h) {
  TBitmap b(w, h, pf24bit);
  b.SaveToStream(s);
}

inline void PutText(TStream& s, const std::string& text) {
  s.WriteBuffer(text.data(), static_cast<int>(text.size()));
}

// The frame picture and its mask hold the frame geometry of kMinimalSkin; active picture
// i is ActiveWidth(i) x kActiveHeight and holds its button face.
constexpr int kFrameWidth = 280, kFrameHeight = 110;
constexpr int kActiveHeight = 24;
inline int ActiveWidth(int i) { return 32 + i; }

// The bytes PutBitmap writes for a w x h picture.
inline int64_t BitmapBytes(int w, int h) {
  TMemoryStream s;
  PutBitmap(s, w, h);
  return s.Size();
}

// Inflated layout: version, three flagged pictures (main, no inactive, mask), two more
// pairs for version 2, `count` active pictures, then the text.
inline void WriteSkinStream(TStream& s, int32_t version, const std::string& text, int32_t count = 2) {
  PutInt32(s, version);
  PutByte(s, 0);
  PutBitmap(s, kFrameWidth, kFrameHeight);
  PutByte(s, 1);
  PutByte(s, 0);
  PutBitmap(s, kFrameWidth, kFrameHeight);
  if (version == 2) {
    PutByte(s, 0);
    PutBitmap(s, 5, 5);
    PutByte(s, 1);
  }
  PutInt32(s, count);
  for (int i = 0; i < count; ++i) PutBitmap(s, ActiveWidth(i), kActiveHeight);
  PutText(s, text);
}

inline void StoreStream(TksCompressedStoredSkin& stored, TStream& s) { stored.CompressStream(s); }

inline void StoreSkin(TksCompressedStoredSkin& stored, int32_t version, const std::string& text,
                      int32_t count = 2) {
  TMemoryStream s;
  WriteSkinStream(s, version, text, count);
  stored.CompressStream(s);
}

// The five sections every skin has, with two controls and one object.
inline const char* kMinimalSkin =
    "[VERSION]\r\nskinname=Test skin\r\nskinauthor=Us\r\nunknown=1\r\n"
    "[PICTURES]\r\npicture=frame.bmp\r\nmask=mask.bmp\r\nactivepicturescount=2\r\n0=a.bmp\r\n1=b.bmp\r\n"
    "[FORMINFO]\r\nlefttoppoint=30,60\r\nrighttoppoint=250,60\r\nleftbottompoint=10,90\r\n"
    "rightbottompoint=260,99\r\nclientrect=20,51,258,101\r\nmaskrectarea=9,17,271,98\r\n"
    "hittestlefttoppoint=0,5\r\nhittestrighttoppoint=7,7\r\nbgpictureindex=1\r\ninactiveeffect=ieinvert\r\n"
    "[SKINOBJECTS]\r\ncount=1\r\n0=caption:caption\r\n"
    "[caption]\r\ntextrect=1,2,3,4\r\nfontheight=13\r\n"
    "[SKINCONTROLS]\r\ncount=4\r\n0=button:button\r\n1=odd:nosuchtype\r\n2=nocolon\r\n3=a:b:c\r\n"
    "[button]\r\npictureindex=0\r\nskinrect=1,2,30,20\r\n"
    "[HINTWINDOW]\r\nwindowpictureindex=1\r\nfontname=Tahoma\r\n";

}  // namespace skintest
