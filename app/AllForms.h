// Every form class of the program, for the code that creates or frees them.
#pragma once

#include "app/Burning.h"
#include "app/GenericWait.h"
#include "app/MainForm.h"
#include "app/Recovery.h"
#include "app/Splash.h"
#include "app/StandInForms.h"
