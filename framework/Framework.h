// The class layer in one include.
#pragma once

#include "Controls.h"
#include "Dialog.h"
#include "Object.h"
#include "PropertySheet.h"
#include "WinApp.h"
#include "Wnd.h"
