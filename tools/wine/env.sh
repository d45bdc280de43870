# Sourced by the Wine scripts: isolates every Wine run in <dir>.
#   wine_env <dir>
# Without WINEPREFIX Wine would silently create ~/.wine; HOME is moved too so
# that nothing of the developer's own settings leaks into a test.
wine_env() {
  local dir
  dir=$(mkdir -p "$1" && cd "$1" && pwd)
  export WINE_DIR="$dir"
  export HOME="$dir/home"
  export WINEPREFIX="$dir/prefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  mkdir -p "$HOME"
  if [ -f "$dir/display" ]; then
    DISPLAY=$(cat "$dir/display")
    export DISPLAY
  fi
}
