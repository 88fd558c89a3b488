// The program's one application object.
#include "app/OptionsApp.h"

COptionsApp theApp;
