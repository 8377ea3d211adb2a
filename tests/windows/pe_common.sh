# shellcheck shell=bash
# Sourced by check_module.sh and check_program.sh: reads one file of the Windows build with
# `objdump -p -h` and holds the checks that gauge modules and the host program share.
#
# What the parsing relies on (GNU objdump for pei-i386):
#   "<file>:     file format pei-i386"             machine i386
#   "Characteristics 0x2106"                        COFF characteristics, 0x2000 = DLL
#   "Magic  010b  (PE32)"                           optional header of a 32-bit image
#   "ImageBase  6cc80000"                           hex
#   "MajorSubsystemVersion 4" / "Minor... 0"        decimal
#   "Entry d 00000000 00000000 Delay Import ..."    data directory line: RVA, size
#   "\tDLL Name: KERNEL32.dll"                      one per imported DLL
#   "Export Address Table -- Ordinal Base 1" then "\t[   0] +base[   1] 3020 Export RVA" lines
#   "[Ordinal/Name Pointer] Table" then "\t[   1] Linkage" lines (the index is the one above)
#   the section headers of -h: "  1 .data  00000240  6cc83000  ..." with the flags on the next line
#   "The .rsrc Resource Directory section:" then a tree whose level shows in the indentation
#     after the offset: the type entries one column right of "Type Table", the name entries
#     three, e.g. "010   Entry: ID: 0x000002, ..." and "048     Entry: name: [val: ... len 3]: FOO, ..."

# The DLLs that every Windows the simulator runs on (95 to XP) carries. A gauge module imports only
# these; the host program may also use the three after them. The compiler's runtime DLLs
# (libgcc_s*, libstdc++*, libwinpthread*) are never among them: the build links that runtime in.
PE_MODULE_DLLS=(KERNEL32.dll USER32.dll GDI32.dll DDRAW.dll msvcrt.dll)
# shellcheck disable=SC2034 # read by check_program.sh
PE_PROGRAM_DLLS=("${PE_MODULE_DLLS[@]}" ADVAPI32.dll SHELL32.dll ole32.dll)

# The loaders of Windows XP and older refuse a subsystem version above 5.1.
PE_MAX_SUBSYSTEM_MAJOR=5
PE_MAX_SUBSYSTEM_MINOR=1

PE_FILE_NAME=
PE_PROBLEMS=0
PE_LINES=()

pe_problem() {
  echo "${PE_FILE_NAME}: $*" >&2
  PE_PROBLEMS=$((PE_PROBLEMS + 1))
}

# pe_load OBJDUMP FILE: reads FILE's headers into PE_LINES; exits 1 when objdump cannot.
pe_load() {
  local objdump=$1 file=$2 errors dump
  PE_FILE_NAME=${file##*/}
  errors=$(mktemp)
  if ! dump=$("$objdump" -p -h -- "$file" 2>"$errors"); then
    echo "${PE_FILE_NAME}: $objdump cannot read $file: $(head -n 1 "$errors")" >&2
    rm -f "$errors"
    exit 1
  fi
  rm -f "$errors"
  mapfile -t PE_LINES <<<"$dump"
}

# pe_field NAME: the value that follows the header field NAME, or nothing.
pe_field() {
  local line
  for line in "${PE_LINES[@]}"; do
    if [[ $line =~ ^$1[[:space:]]+([^[:space:]]+) ]]; then
      echo "${BASH_REMATCH[1]}"
      return
    fi
  done
}

# pe_check_format dll|program: a PE32 image for i386, a DLL or not as asked.
pe_check_format() {
  local kind=$1 format='' magic characteristics line
  for line in "${PE_LINES[@]}"; do
    if [[ $line =~ file\ format\ ([^[:space:]]+)$ ]]; then format=${BASH_REMATCH[1]}; break; fi
  done
  magic=$(pe_field Magic)
  characteristics=$(pe_field Characteristics)
  if [[ $format != pei-i386 ]]; then
    pe_problem "file format is '${format:-unknown}', not pei-i386 (a Windows image for i386)"
  fi
  if [[ $magic != 010b ]]; then
    pe_problem "optional header magic is '${magic:-missing}', not 010b (PE32)"
  fi
  if [[ ! $characteristics =~ ^0x[0-9a-fA-F]+$ ]]; then
    pe_problem "objdump shows no Characteristics field"
  elif [[ $kind == dll ]] && ((!(characteristics & 0x2000))); then
    pe_problem "is not a DLL (Characteristics $characteristics lacks 0x2000)"
  elif [[ $kind == program ]] && ((characteristics & 0x2000)); then
    pe_problem "is a DLL, not a program (Characteristics $characteristics)"
  fi
}

# pe_check_imports WHAT DLL...: every imported DLL is one of those given (compared case-insensitively),
# and nothing is imported by delayed loading, which this listing would not show. Sets PE_IMPORTS.
PE_IMPORTS=()
pe_check_imports() {
  local what=$1 dll line
  local -A allowed=()
  shift
  for dll in "$@"; do allowed[${dll,,}]=1; done
  PE_IMPORTS=()
  for line in "${PE_LINES[@]}"; do
    if [[ $line =~ ^[[:space:]]*DLL\ Name:\ (.+)$ ]]; then
      dll=${BASH_REMATCH[1]}
      PE_IMPORTS+=("$dll")
      if [[ ${dll,,} =~ ^lib(gcc_s|stdc\+\+|winpthread) ]]; then
        pe_problem "imports $dll, a runtime DLL of the compiler that Windows does not have: link it statically"
      elif [[ -z ${allowed[${dll,,}]:-} ]]; then
        pe_problem "imports $dll, but $what may import only $*"
      fi
    elif [[ $line =~ ^Entry\ d\ ([0-9a-f]+)\ ([0-9a-f]+)\ Delay ]] && ((16#${BASH_REMATCH[2]} != 0)); then
      pe_problem "has a delay-load import table; its DLLs escape this check"
    fi
  done
}

# pe_check_subsystem: the declared subsystem version is at most 5.1. Sets PE_SUBSYSTEM.
PE_SUBSYSTEM=
pe_check_subsystem() {
  local major minor
  major=$(pe_field MajorSubsystemVersion)
  minor=$(pe_field MinorSubsystemVersion)
  if [[ ! $major =~ ^[0-9]+$ || ! $minor =~ ^[0-9]+$ ]]; then
    pe_problem "objdump shows no MajorSubsystemVersion/MinorSubsystemVersion"
    return
  fi
  PE_SUBSYSTEM=$major.$minor
  if ((major > PE_MAX_SUBSYSTEM_MAJOR || (major == PE_MAX_SUBSYSTEM_MAJOR && minor > PE_MAX_SUBSYSTEM_MINOR))); then
    pe_problem "subsystem version $PE_SUBSYSTEM is above $PE_MAX_SUBSYSTEM_MAJOR.$PE_MAX_SUBSYSTEM_MINOR: Windows XP and older refuse to load it"
  fi
}

# pe_finish SUMMARY: exits 1 if any check failed, else prints the summary line.
pe_finish() {
  if ((PE_PROBLEMS > 0)); then
    exit 1
  fi
  echo "${PE_FILE_NAME}: $1"
}
