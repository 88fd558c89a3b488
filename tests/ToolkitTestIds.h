// Resource ids of the toolkit tests' own resources, apart from the program's numbers.
#pragma once

#define IDD_TOOLKIT_HOST                28001
#define IDC_TOOLKIT_OK                  28101  // default push button
#define IDC_TOOLKIT_BROWSE              28102  // multi-line push button
#define IDC_TOOLKIT_CHECK               28103
#define IDC_TOOLKIT_LABEL               28104
