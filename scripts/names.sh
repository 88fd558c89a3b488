# The names the scripts share: where the program lives on a device, its window's caption, and
# the registry keys it edits (in the form Wine's reg takes).
# shellcheck shell=bash
PROGRAM_FOLDER='Program Files/Brumvale'               # on the device's drive C:
PROGRAM_DIR="C:\\${PROGRAM_FOLDER//\//\\}"            # the same, as Wine names it
PROGRAM="$PROGRAM_DIR\\QovBrumvaleOptions.exe"
SHEET_CAPTION='Qov Brumvale Options'
SETTINGS_KEY='HKLM\SOFTWARE\Varnholt\BrumvaleService\Settings'
EXCEPTIONS_KEY='HKLM\SOFTWARE\Varnholt\BrumvaleService\Exceptions'
GAME_KEY='HKLM\SOFTWARE\Varnholt\Brumvale VGA'

source "$(dirname "${BASH_SOURCE[0]}")/wine-test.sh"  # again_if_silent

# Wine's reg on the registry's 64-bit view, where the program's keys are: in scripts/test32.sh's
# runs `wine` is Debian's 32-bit loader, whose plain `wine reg` is 32-bit and sees Wow6432Node. A reg
# that could not start is started once more.
wine_reg() { again_if_silent wine reg "$@" /reg:64; }
