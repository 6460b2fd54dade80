// Every form class of the program, for the code that creates or frees them.
#pragma once

#include "app/Browser.h"
#include "app/GenericWait.h"
#include "app/MainForm.h"
#include "app/Recovery.h"
#include "app/Splash.h"
#include "app/StandInForms.h"
#include "app/feedback.h"
#include "app/frmDirectory.h"
#include "app/frmSelectFileTypes.h"
