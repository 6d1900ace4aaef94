# Shared by .ci/clang.sh and .ci/windows.sh (sourced, not run): generates
# assessment files with the Linux GCC build's grouper-sample and compares
# another build's result file, console bytes and exit status with those of the
# Linux GCC build on each of them, byte for byte.
#
# The caller defines run_candidate IN OUT (runs the other build's grouper in
# the current directory, console on standard output) before calling
# compare_with_reference.

reference_build=build/default

# Korean time in the form glibc reads; the other runtimes get theirs from the
# caller.
run_reference() {
  TZ=Asia/Seoul "$repo/$reference_build/grouper" "$1" "$2"
}

ensure_reference_build() {
  if [ ! -x "$reference_build/grouper" ] || [ ! -x "$reference_build/tools/grouper-sample" ]; then
    cmake --preset default
    cmake --build --preset default --target grouper grouper-sample
  fi
}

# make_inputs DIR RECORDS: one file of RECORDS records for each form version
# and the base layout, a tenth of them with one fault each, one file of mixed
# versions with half of them faulty, and the bundled sample.
make_inputs() {
  local dir=$1 records=$2 seed=100 v
  local sample="$repo/$reference_build/tools/grouper-sample"
  for v in 089 010 090 011 091 012 092 013 base; do
    seed=$((seed + 1))
    "$sample" --count "$records" --seed "$seed" --versions "$v" --faults 0.1 >"$dir/v$v.in"
  done
  "$sample" --count 20000 --seed 99 --faults 0.5 >"$dir/mixed.in"
  cp "$repo/examples/sample.in" "$dir/sample.in"
}

# Shows the first differing line of two files, readable on a UTF-8 terminal.
show_difference() {
  local line
  line=$(cmp "$1" "$2" 2>&1 | sed -n 's/.*line \([0-9]*\).*/\1/p') || true
  [ -n "$line" ] || return 0
  echo "  first difference, line $line:"
  echo "    reference: $(sed -n "${line}p" "$1" | iconv -f CP949 -t UTF-8 -c | tr -d '\r')"
  echo "    candidate: $(sed -n "${line}p" "$2" | iconv -f CP949 -t UTF-8 -c | tr -d '\r')"
}

# compare_with_reference LABEL DIR: runs both builds on every DIR/*.in.
compare_with_reference() {
  local label=$1 dir=$2 passed=0 failed=0 input name ref_status cand_status ok
  for input in "$dir"/*.in; do
    name=$(basename "$input" .in)
    ref_status=0
    cand_status=0
    (cd "$dir" && run_reference "$name.in" "$name.ref.out" >"$name.ref.console") || ref_status=$?
    (cd "$dir" && run_candidate "$name.in" "$name.cand.out" >"$name.cand.console") || cand_status=$?
    ok=1
    if [ "$ref_status" != "$cand_status" ]; then
      echo "$label: $name: exit status $cand_status, the reference $ref_status"
      ok=0
    fi
    if ! cmp -s "$dir/$name.ref.out" "$dir/$name.cand.out"; then
      echo "$label: $name: result files differ"
      show_difference "$dir/$name.ref.out" "$dir/$name.cand.out"
      ok=0
    fi
    if ! cmp -s "$dir/$name.ref.console" "$dir/$name.cand.console"; then
      echo "$label: $name: console bytes differ"
      show_difference "$dir/$name.ref.console" "$dir/$name.cand.console"
      ok=0
    fi
    if [ "$ok" = 1 ]; then
      passed=$((passed + 1))
      echo "$label: $name: $(wc -l <"$input") records, $(wc -c <"$dir/$name.ref.out") result" \
        "bytes and $(wc -c <"$dir/$name.ref.console") console bytes identical"
    else
      failed=$((failed + 1))
    fi
    rm -f "$dir/$name".ref.* "$dir/$name".cand.*
  done
  echo "$label: $passed passed, $failed failed"
  [ "$failed" = 0 ]
}
