#!/usr/bin/env bash
# Instructions per record of grouper on a generated file, for the whole
# program and for each stage of a line, counted by callgrind. A count is
# repeatable on a shared machine where a time is not: the same build on the
# same file executes the same instructions, however busy the machine.
#
#   bench/instructions.sh [BUILD_DIR]        (default build/bench)
#
# Builds nothing: BUILD_DIR must hold grouper and tools/grouper-sample, for
# instance from `cmake --preset bench && cmake --build --preset bench`. Needs
# valgrind (its callgrind tool and callgrind_annotate).
#
# Generates RECORDS records (default 20,000) from seed 1 with a 10% fault
# share, as throughput.sh does for its large file (fewer records, since
# callgrind is slow), and runs grouper on them once under
# `valgrind --tool=callgrind` with the console sent to /dev/null.
#
# What "per record" divides: every figure is a count of executed instructions
# (callgrind's Ir) divided by RECORDS, the number of lines in the input file,
# faulty ones included. What each count holds:
#   - whole program: every instruction of the process, from the dynamic
#     loader's start to the exit, so start-up, reading the input and writing
#     the output and console lines are in it;
#   - a stage: the inclusive count of the stage's functions (their own
#     instructions and those of everything they call), from
#     `callgrind_annotate --inclusive=yes`. A faulty record stops at the
#     parser or the validator and never reaches the later stages, so a stage's
#     figure is its cost averaged over every record of this mix; the calls
#     column says how often the stage's functions were entered from outside
#     the stage. Where one function of a stage calls another directly, that
#     call's count is taken off once, since the caller's inclusive count
#     already holds it; a call through a function of no stage would be counted
#     twice. A function that the compiler inlined has no count of its own: its
#     instructions count in its caller's.
#   - outside the stages: the whole program less the four stages (the line
#     loop, reading, writing, start-up), printed as such.
#
# Environment: RECORDS, WORKDIR (default a fresh directory under
# ${TMPDIR:-/tmp}, removed at the end; a WORKDIR given is kept, with the
# callgrind profile `callgrind.out` for callgrind_annotate).
set -euo pipefail

# The functions of each stage: an extended regular expression matched against
# a function's own name (no namespace, no parameters). Name old and new names
# together (Old|New) when a function is renamed; a stage whose pattern matches
# no function stops the script rather than print a zero.
PARSE_FUNCTIONS='RecordParser|ParseRecord|ParseTrimmedRecord'
VALIDATE_FUNCTIONS='RecordValidator|ValidateRecord'
CLASSIFY_FUNCTIONS='classify_record|ClassifyRecord'
COMPOSE_FUNCTIONS='Compose[A-Za-z0-9_]*'

build=${1:-build/bench}
records=${RECORDS:-20000}
grouper=$build/grouper
sample=$build/tools/grouper-sample

for program in "$grouper" "$sample"; do
  if [[ ! -x $program ]]; then
    echo "instructions.sh: $program not found; build first:" >&2
    echo "  cmake --preset bench && cmake --build --preset bench" >&2
    exit 2
  fi
done
for tool in valgrind callgrind_annotate; do
  if ! command -v "$tool" > /dev/null; then
    echo "instructions.sh: needs $tool (apt-get install valgrind)" >&2
    exit 2
  fi
done

if [[ -n ${WORKDIR:-} ]]; then
  work=$WORKDIR
  mkdir -p "$work"
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/grouper-instructions.XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi

echo "generating $records records (seed 1, 10% faults) ..."
"$sample" --count "$records" --seed 1 --faults 0.1 > "$work/records.in"
lines_in=$(wc -l < "$work/records.in")
if [[ $lines_in != "$records" ]]; then
  echo "instructions.sh: asked for $records records, the file has $lines_in lines" >&2
  exit 1
fi

# The program's arguments and environment sit on its stack and move the
# buffers that the C library's string routines see; their instruction counts
# depend on alignment. Fixed names, run from the work directory with a fixed
# environment, make the count the same from any directory and shell.
cp "$grouper" "$work/grouper"
echo "running grouper under callgrind ..."
(cd "$work" && env -i PATH=/usr/bin:/bin valgrind --tool=callgrind \
  --callgrind-out-file=callgrind.out ./grouper records.in records.out > /dev/null \
  2> valgrind.log) || {
  echo "instructions.sh: grouper failed under valgrind; see $work/valgrind.log" >&2
  cat "$work/valgrind.log" >&2
  exit 1
}
lines_out=$(wc -l < "$work/records.out")
if [[ $lines_out != "$records" ]]; then
  echo "instructions.sh: $records input lines but $lines_out output lines" >&2
  exit 1
fi

# Every function with its inclusive count and its callers (count of the
# calls and the inclusive instructions of those calls), all functions listed.
callgrind_annotate --inclusive=yes --tree=caller --threshold=100 --auto=no \
  "$work/callgrind.out" > "$work/annotate.txt"

total=$(awk '/PROGRAM TOTALS/ {gsub(/,/, "", $1); print $1; exit}' "$work/annotate.txt")
if [[ -z $total ]]; then
  echo "instructions.sh: no PROGRAM TOTALS in the callgrind report" >&2
  exit 1
fi

# Prints "INSTRUCTIONS CALLS NAMES" for the functions whose own name matches
# the pattern: the sum of their inclusive counts less the calls between two of
# them, the calls from outside the set, and the matched names.
stage() {
  awk -v pattern="$1" '
    function own_name(s) {
      # s is "file:qualified::name(parameters) ..."; keep the name.
      sub(/^[^:]*:/, "", s)
      gsub(/\(anonymous namespace\)/, "anonymous", s)
      s = substr(s, 1, index(s "(", "(") - 1)
      sub(/.*::/, "", s)
      return s
    }
    /^ *[0-9,]+ +\( *[0-9.]+%\) +[<*] / {
      count = $1
      gsub(/,/, "", count)
      line = $0
      sub(/^ *[0-9,]+ +\( *[0-9.]+%\) +/, "", line)
      marker = substr(line, 1, 1)
      sub(/^[<*] +/, "", line)
      calls = 0
      if (marker == "<" && match(line, /\(([0-9,]+)x\)/)) {
        calls = substr(line, RSTART + 1, RLENGTH - 3)
        gsub(/,/, "", calls)
      }
      if (marker == "<") {
        caller_name[++n_callers] = own_name(line)
        caller_count[n_callers] = count
        caller_calls[n_callers] = calls
        next
      }
      name = own_name(line)
      if (name ~ ("^(" pattern ")$")) {
        inclusive += count
        if (!(name in seen)) {
          seen[name] = 1
          names = names (names == "" ? "" : ", ") name
        }
        for (i = 1; i <= n_callers; ++i) {
          if (caller_name[i] ~ ("^(" pattern ")$")) {
            nested += caller_count[i]
          } else {
            entered += caller_calls[i]
          }
        }
      }
      n_callers = 0
      next
    }
    { n_callers = 0 }
    END {
      if (names == "") names = "-"
      printf "%d %d %s\n", inclusive - nested, entered, names
    }
  ' "$work/annotate.txt"
}

per_record() { awk -v n="$1" -v r="$records" 'BEGIN {printf "%.1f", n / r}'; }

echo
printf 'input: %d records, %d bytes; %s\n' "$records" "$(stat -c %s "$work/records.in")" "$grouper"
printf 'instructions per record (callgrind Ir divided by %d records, faulty ones included):\n' \
  "$records"
printf '  %-20s %10s\n' "whole program" "$(per_record "$total")"
staged=0
missing=()
for entry in "parse:$PARSE_FUNCTIONS" "validate:$VALIDATE_FUNCTIONS" \
  "classify:$CLASSIFY_FUNCTIONS" "compose:$COMPOSE_FUNCTIONS"; do
  label=${entry%%:*}
  read -r count calls names < <(stage "${entry#*:}")
  if [[ $names == "-" ]]; then
    missing+=("$label (${entry#*:})")
    continue
  fi
  staged=$((staged + count))
  printf '  %-20s %10s   inclusive; %d calls of %s\n' "$label" "$(per_record "$count")" "$calls" \
    "$names"
done
printf '  %-20s %10s   the whole program less the stages above\n' "outside the stages" \
  "$(per_record $((total - staged)))"

if ((${#missing[@]} > 0)); then
  echo "instructions.sh: no function of the profile matches the stage ${missing[*]};" \
    "renamed? change the patterns at the top of the script" >&2
  exit 1
fi
