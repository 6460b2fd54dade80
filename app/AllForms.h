// Every form class of the program, for the code that creates or frees them.
#pragma once

#include "app/Backup.h"
#include "app/GenericWait.h"
#include "app/MainForm.h"
#include "app/Recovery.h"
#include "app/Restore.h"
#include "app/SecureErase.h"
#include "app/Splash.h"
#include "app/StandInForms.h"
