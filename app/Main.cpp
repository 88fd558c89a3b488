// The program's one application object.
#include "OptionsApp.h"

COptionsApp theApp;
