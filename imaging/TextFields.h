// Field splitting of value texts ("1, 2, 3"), shared by the value decoders.
#pragma once

#include "framework/core/sysutils.h"

// The text before the first `separator`; all of it when there is none.
String BeforeFirst(const String& text, const String& separator);
// The text after the first `separator`; empty when there is none, all of it when the
// separator is empty.
String AfterFirst(const String& text, const String& separator);
// Field n (from 1) of `text` split at `separator`.
String GetNthField(const String& text, const String& separator, int n);
int CountSeparators(const String& text, const String& separator);
