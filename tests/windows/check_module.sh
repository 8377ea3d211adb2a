#!/bin/bash
# check_module.sh OBJDUMP FILE.gau ID [ID ...]
#
# Checks a gauge module as the simulator will load it: a 32-bit DLL that exports its two records,
# Linkage and ImportTable, and nothing else; that needs no DLL beyond those of every Windows; that
# carries exactly the bitmaps ID... (numeric RT_BITMAP resources); and that declares a subsystem
# version Windows XP and older accept. Prints one line per problem on stderr and exits 1, or prints
# a one-line summary.
set -euo pipefail

if (($# < 3)); then
  echo "usage: $0 OBJDUMP FILE.gau ID [ID ...]" >&2
  exit 2
fi
objdump=$1
file=$2
shift 2
for id in "$@"; do
  if [[ ! $id =~ ^[0-9]+$ ]]; then
    echo "$0: bitmap id '$id' is not a number" >&2
    exit 2
  fi
done

# shellcheck source=pe_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/pe_common.sh"

pe_load "$objdump" "$file"
pe_check_format dll

# Exports: the records by name, and each of them data, never code.
declare -A export_rva=() named_index=()
export_names=()
section_names=() section_starts=() section_ends=() section_code=()
image_base=$(pe_field ImageBase)
[[ $image_base =~ ^[0-9a-f]+$ ]] || image_base=0
state=
for line in "${PE_LINES[@]}"; do
  if [[ -z $line ]]; then
    state=
  elif [[ $line == "Export Address Table -- Ordinal Base"* ]]; then
    state=addresses
  elif [[ $line == "[Ordinal/Name Pointer] Table"* ]]; then
    state=names
  elif [[ $line == "Idx Name"* ]]; then
    state=sections
  elif [[ $state == addresses && $line =~ ^[[:space:]]+\[\ *([0-9]+)\]\ \+base\[\ *[0-9]+\]\ ([0-9a-f]+)\ (Export|Forwarder) ]]; then
    export_rva[${BASH_REMATCH[1]}]=${BASH_REMATCH[3]}:$((16#${BASH_REMATCH[2]}))
  elif [[ $state == names && $line =~ ^[[:space:]]+\[\ *([0-9]+)\]\ (.+)$ ]]; then
    export_names+=("${BASH_REMATCH[2]}")
    named_index[${BASH_REMATCH[2]}]=${BASH_REMATCH[1]}
  elif [[ $state == sections && $line =~ ^\ +[0-9]+\ ([^ ]+)\ +([0-9a-f]+)\ +([0-9a-f]+)\  ]]; then
    section_names+=("${BASH_REMATCH[1]}")
    section_starts+=($((16#${BASH_REMATCH[3]} - 16#$image_base)))
    section_ends+=($((16#${BASH_REMATCH[3]} - 16#$image_base + 16#${BASH_REMATCH[2]})))
    section_code+=(0)
  elif [[ $state == sections && ${#section_code[@]} -gt 0 && $line =~ (^|[[:space:]])CODE(,|$) ]]; then
    section_code[-1]=1
  fi
done

for record in Linkage ImportTable; do
  if [[ -z ${named_index[$record]:-} ]]; then
    pe_problem "does not export $record"
    continue
  fi
  entry=${export_rva[${named_index[$record]}]:-}
  if [[ $entry == Forwarder:* ]]; then
    pe_problem "exports $record as a forwarder to another DLL, not as its own record"
    continue
  elif [[ -z $entry ]]; then
    pe_problem "exports $record without an address"
    continue
  fi
  rva=${entry#*:}
  where="no section"
  is_data=0
  for i in "${!section_names[@]}"; do
    if ((rva >= section_starts[i] && rva < section_ends[i])); then
      if ((section_code[i])); then
        where="code section ${section_names[i]}"
      else
        is_data=1
      fi
      break
    fi
  done
  if ((!is_data)); then
    printf -v rva '0x%x' "$rva"
    pe_problem "exports $record at RVA $rva in $where: it must be a data record, not a function"
  fi
done
for name in "${export_names[@]}"; do
  if [[ $name != Linkage && $name != ImportTable ]]; then
    pe_problem "exports $name besides Linkage and ImportTable"
  fi
done
declare -A index_named=()
for name in "${!named_index[@]}"; do index_named[${named_index[$name]}]=1; done
unnamed=0
for index in "${!export_rva[@]}"; do
  [[ -n ${index_named[$index]:-} ]] || unnamed=$((unnamed + 1))
done
if ((unnamed > 0)); then
  pe_problem "has $unnamed export(s) by ordinal only, without a name, besides Linkage and ImportTable"
fi

pe_check_imports "a gauge module" "${PE_MODULE_DLLS[@]}"

# Bitmaps: the RT_BITMAP (type 2) entries of the resource tree, by numeric id or by name.
declare -A bitmaps=()
in_resources=0
type_table_indent=-1
resource_type=
for line in "${PE_LINES[@]}"; do
  if [[ $line == "The .rsrc Resource Directory section:" ]]; then
    in_resources=1
  elif ((in_resources)) && [[ $line =~ ^[0-9a-f]+(\ +)(Type\ Table|Entry:) ]]; then
    indent=${#BASH_REMATCH[1]}
    if [[ ${BASH_REMATCH[2]} == Type\ Table ]]; then
      if ((type_table_indent < 0)); then type_table_indent=$indent; fi
    elif ((indent == type_table_indent + 1)); then
      resource_type=other
      if [[ $line =~ Entry:\ ID:\ 0x0*2, ]]; then resource_type=bitmap; fi
    elif ((indent == type_table_indent + 3)) && [[ $resource_type == bitmap ]]; then
      if [[ $line =~ Entry:\ ID:\ 0x([0-9a-f]+), ]]; then
        bitmaps[$((16#${BASH_REMATCH[1]}))]=1
      elif [[ $line =~ Entry:\ name:\ \[[^]]*\]:\ (.*),\ Value: ]]; then
        bitmaps["\"${BASH_REMATCH[1]}\""]=1
      else
        bitmaps["(unreadable: ${line})"]=1
      fi
    fi
  fi
done
declare -A wanted=()
for id in "$@"; do
  wanted[$((10#$id))]=1
  if [[ -z ${bitmaps[$((10#$id))]:-} ]]; then
    pe_problem "has no bitmap resource $id (RT_BITMAP)"
  fi
done
for id in "${!bitmaps[@]}"; do
  if [[ -z ${wanted[$id]:-} ]]; then
    pe_problem "has bitmap resource $id, which is not among those expected ($*)"
  fi
done

pe_check_subsystem

pe_finish "exports Linkage ImportTable; imports ${PE_IMPORTS[*]:-nothing}; bitmaps $*; subsystem $PE_SUBSYSTEM"
