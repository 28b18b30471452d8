# Sourced by the bench scripts.
ms_of() { # command... -> median wall time in ms of 5 runs (after one warm-up)
  local times=()
  "$@" >/dev/null 2>&1
  for _ in 1 2 3 4 5; do
    local t0 t1
    t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p | awk '{printf "%.1f", $1 / 1000}'
}
