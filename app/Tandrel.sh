# Starts Tandrel from its portable folder on a stick: sh Tandrel.sh [arguments]
#
# A stick is usually FAT or exFAT, mounted so that no file on it is executable: neither this file
# nor the program can be started by name. So the program is started through the desktop's own
# dynamic loader (which is executable wherever it lives) and takes its libraries from lib/ first.
# The loader is then the process's executable, so the program cannot find its folder from its own
# path: TANDREL_HOME names it. Arguments and the exit status pass through.

# The shell's own commands only, so that the launcher needs nothing else of the desktop.
case "$0" in
  */*) here=${0%/*} ;;
  *) here=. ;;
esac
here=$(CDPATH='' cd -- "$here" && pwd -P) || exit 2
loader=/lib64/ld-linux-x86-64.so.2
if [ ! -e "$loader" ]; then
  echo "Tandrel: $loader is missing: this folder runs on 64-bit PCs (x86_64) with Linux" >&2
  exit 2
fi
# The libraries in lib/ want the C library of the machine that built them or a later one
# (scripts/package writes its number here); an older one would stop the loader on a missing symbol
# version, a message that says nothing to the user.
glibc=$("$loader" --version 2>/dev/null)
glibc=${glibc#*release version 2.}
glibc=${glibc%%[!0-9]*}
if [ -n "$glibc" ] && [ "$glibc" -lt @GLIBC_MINOR@ ]; then
  echo "Tandrel: this folder needs the GNU C library 2.@GLIBC_MINOR@ or later; this computer has 2.$glibc" >&2
  exit 2
fi
# The loader's library path is a list split at ":" and ";".
case "$here" in
  *[:\;]*) echo "Tandrel: cannot start from a folder whose path holds \":\" or \";\": $here" >&2
       exit 2 ;;
esac

# Without a display Qt would abort with a core dump; say what to do instead.
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}" ]; then
  echo "Tandrel: no X display (DISPLAY is not set), so the window cannot open; without a window, try: sh $0 --help" >&2
  exit 2
fi

export TANDREL_HOME="$here"
# The program takes its Qt plug-ins from plugins/ in its folder. That holds the X11 platform
# plug-in only: a Wayland desktop runs the window through XWayland.
export QT_QPA_PLATFORM=xcb
exec "$loader" --library-path "$here/lib" "$here/Tandrel" "$@"
