#!/bin/bash
# check_program.sh OBJDUMP FILE.exe
#
# Checks the gauge host program as Windows XP and older will start it: a 32-bit i386 program that
# needs no DLL beyond those of every Windows (in particular none of the compiler's runtime) and
# declares a subsystem version those systems accept. Prints one line per problem on stderr and
# exits 1, or prints a one-line summary.
set -euo pipefail

if (($# != 2)); then
  echo "usage: $0 OBJDUMP FILE.exe" >&2
  exit 2
fi

# shellcheck source=pe_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/pe_common.sh"

pe_load "$1" "$2"
pe_check_format program
pe_check_imports "the host program" "${PE_PROGRAM_DLLS[@]}"
pe_check_subsystem
pe_finish "imports ${PE_IMPORTS[*]:-nothing}; subsystem $PE_SUBSYSTEM"
