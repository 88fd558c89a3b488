// The class layer in one include.
#pragma once

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Object.h"
#include "framework/PropertySheet.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
