# Sourced by the scripts that take the README's pictures, once on their own
# display: a scratch folder in $work, and the program they start goes in $app.
# At exit the program is stopped with SIGTERM and waited for, then the folder
# is removed; a program ending with 143 must not cut that short.
work=$(mktemp -d)
app=""
finish() {
  if [[ -n "$app" ]]; then kill -TERM "$app" 2>/dev/null; wait "$app" || true; fi
  rm -rf "$work"
}
trap finish EXIT
