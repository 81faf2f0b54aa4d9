#!/usr/bin/env bash
# Puts Quillpane on a Linux desktop, or takes it off again:
#
#   install install      the program (the 32-bit one, or the 64-bit build
#                        where this kernel cannot run 32-bit programs), its
#                        fonts and samples and the native exporter in
#                        share/quillpane, the launcher in bin,
#                        the desktop entry, the icon in the hicolor theme,
#                        the file types and the thumbnailer; then the
#                        launcher's Wine prefix, if there is none yet
#   install uninstall    removes exactly what the install put there; the
#                        launcher's Wine prefix, which holds the settings,
#                        stays unless PURGE=1 (then it goes too)
#
# PREFIX (default ~/.local) is where it goes; DESTDIR stages it for a package
# (then no database is updated, no default is set and no prefix is made);
# DEFAULT=1 makes Quillpane the default even for a type another application
# already owns. JOBS (default: every core) builds the exporter.
#
# Every file an install writes and every folder it makes is listed in
# share/quillpane/installed-files, and so are the defaults it set with the
# values they replaced; uninstall follows that list.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=${PREFIX:-$HOME/.local}
staged=${DESTDIR:-}
dest=$staged$prefix
share=$dest/share/quillpane
manifest=$share/installed-files
mimeapps=${XDG_CONFIG_HOME:-$HOME/.config}/mimeapps.list
# The desktop entry's types, as the table of formats makes them.
IFS=';' read -r -a types < <(sed -n 's/^MimeType=//p' "$root/src/linux/quillpane.desktop")
entries=()

record() { entries+=("$*"); }

write_manifest() {
  [ -d "$share" ] && [ ${#entries[@]} -gt 0 ] && printf '%s\n' "${entries[@]}" >"$manifest"
  return 0
}

# Makes a folder and the missing ones above it, recording each one made.
make_dir() {
  [ -d "$1" ] && return 0
  make_dir "$(dirname "$1")"
  mkdir "$1"
  record d "$1"
}

put() { # SOURCE TARGET [MODE]
  make_dir "$(dirname "$2")"
  install -m "${3:-644}" "$1" "$2"
  record f "$2"
}

put_tree() { # SOURCE-FOLDER TARGET-FOLDER: every file below it
  local file
  while IFS= read -r -d '' file; do
    put "$1/$file" "$2/$file"
  done < <(cd "$1" && find . -type f -printf '%P\0' | sort -z)
}

# The files the MIME and desktop databases are made of.
database_files() {
  find "$dest/share/mime" "$dest/share/applications" 2>/dev/null | LC_ALL=C sort
}

refresh_databases() { # [--if-there]: only databases that are there
  [ -z "$staged" ] || return 0
  local mime=$dest/share/mime apps=$dest/share/applications
  if [ -d "$mime/packages" ] && { [ "${1-}" != --if-there ] || [ -f "$mime/mime.cache" ]; }; then
    update-mime-database "$mime"
  fi
  if [ -d "$apps" ] && command -v update-desktop-database >/dev/null &&
    { [ "${1-}" != --if-there ] || [ -f "$apps/mimeinfo.cache" ]; }; then
    update-desktop-database "$apps"
  fi
}

default_of() { # TYPE: its value in mimeapps.list's default section
  [ -f "$mimeapps" ] || return 0
  awk -v key="$1=" '/^\[/ { inside = $0 == "[Default Applications]"; next }
    inside && index($0, key) == 1 { print substr($0, length(key) + 1); exit }' "$mimeapps"
}

set_default() { # TYPE VALUE: an empty VALUE removes the type's line
  local text
  text=$(awk -v key="$1=" -v value="$2" '
    function put() { if (!done && value != "") print key value; done = 1 }
    /^\[/ { if (inside) put(); inside = $0 == "[Default Applications]"; seen = seen || inside; print; next }
    inside && index($0, key) == 1 { put(); next }
    { print }
    END { if (!seen && value != "") print "[Default Applications]"; put() }' "$mimeapps")
  # Written in place: the list may be a link into the user's own files.
  printf '%s\n' "$text" >"$mimeapps"
}

# The launcher's Wine prefix, made now so that the first open shows the art
# at once (the launcher makes it the same way when it is missing). Never
# listed in the manifest: it holds the user's settings, and outlives an
# uninstall without PURGE=1. Made only for an install into the user's own
# home: a staged one is not where it runs, and one for every user
# (PREFIX=/usr/local, by root) leaves each user's prefix to that user's
# first open.
make_wine_prefix() { # LAUNCHER
  if [ -n "$staged" ]; then
    echo "quillpane: staged under DESTDIR: no Wine prefix made (the launcher makes it on the first open)"
  elif [ "${prefix#"$HOME"/}" = "$prefix" ]; then
    echo "quillpane: $prefix is outside $HOME: no Wine prefix made (the launcher makes each user's on the first open)"
  elif ! "$1" --make-prefix; then
    echo "quillpane: no Wine prefix made (the launcher makes it on the first open)"
  fi
}

do_uninstall() {
  if [ ! -f "$manifest" ]; then
    echo "quillpane: nothing installed under $dest"
    return 0
  fi
  local kind path type previous folders=() list=
  while read -r kind path; do
    case $kind in
      f) rm -f "$path" ;;
      d) folders=("$path" "${folders[@]}") ;;
      list) list=$path ;;
      default)
        read -r type previous <<<"$path"
        [ "$(default_of "$type")" != quillpane.desktop ] || set_default "$type" "${previous#-}"
        ;;
    esac
  done <"$manifest"
  # A list the install made goes once no default is left in it.
  if [ -n "$list" ] && ! grep -q = "$list"; then rm -f "$list"; fi
  # A database that was there before the install is made again without
  # Quillpane's files; one the install made went with them.
  refresh_databases --if-there
  for path in "${folders[@]}"; do rmdir "$path" 2>/dev/null || true; done
  echo "quillpane: removed from $dest"
}

# The launcher's prefix, where it keeps it for the user running this: kept, saying where and how to remove
# it, or with PURGE=1 removed, but only when it is a Wine prefix (never a link, nor a folder of other things
# at that path). The launcher's folder goes with it once empty. A staged install has none.
uninstall_wine_prefix() {
  local wine_prefix=${XDG_DATA_HOME:-$HOME/.local/share}/quillpane/prefix
  [ -z "$staged" ] && { [ -e "$wine_prefix" ] || [ -L "$wine_prefix" ]; } || return 0
  if [ "${PURGE:-0}" != 1 ]; then
    echo "quillpane: kept the Wine prefix $wine_prefix ($(du -sh -- "$wine_prefix" | cut -f1), the settings);" \
      "make uninstall PURGE=1 removes it"
  elif [ -L "$wine_prefix" ] || [ ! -f "$wine_prefix/system.reg" ] || [ ! -d "$wine_prefix/drive_c" ]; then
    echo "quillpane: $wine_prefix is not a Wine prefix as the launcher makes them: not removed" >&2
    exit 1
  else
    WINEPREFIX=$wine_prefix wineserver -k 2>/dev/null || true # only that prefix's Wine, if it runs
    rm -rf -- "$wine_prefix"
    rmdir -- "${wine_prefix%/*}" 2>/dev/null || true
    echo "quillpane: removed the Wine prefix $wine_prefix"
  fi
}

do_install() {
  local launcher=$prefix/bin/quillpane type owner take=()
  # The 32-bit program where this kernel runs 32-bit programs; elsewhere (a kernel built without IA-32
  # emulation) it could not start, and the 64-bit build of the same sources goes in its place, built here.
  local flavour
  flavour=$(bash "$root/scripts/wine-session" arch)
  local exe=$root/build/$flavour/quillpane.exe
  if [ "$flavour" = win64 ]; then
    (cd "$root" && scripts/configure win64 >/dev/null && cmake --build build/win64 --target quillpane -j "${JOBS:-$(nproc)}")
  fi
  [ -f "$exe" ] || { echo "quillpane: $exe is missing: build it first (make build)" >&2; exit 1; }
  # The desktop entry and the thumbnailer name their programs by full path,
  # quoted for a shell.
  case $launcher in
    /*[\"\`\$\\]* | [!/]*)
      echo "quillpane: PREFIX must be a full path, without a double quote, backquote, dollar or backslash" >&2
      exit 1 ;;
  esac
  # The export from the same sources, built for Linux (no Wine, none of the
  # Win32 files), before anything is written.
  local build=$root/build/linux exporter=$root/build/linux/quillpane-export
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQP_SANITIZE=OFF >/dev/null
  cmake --build "$build" --target quillpane_export -j "${JOBS:-$(nproc)}"
  [ -x "$exporter" ] || { echo "quillpane: the build left no $exporter" >&2; exit 1; }
  [ ! -f "$manifest" ] || do_uninstall >/dev/null

  # Types no other application owns become Quillpane's; asked before its
  # own entry is there to answer.
  if [ -z "$staged" ]; then
    for type in "${types[@]}"; do
      owner=$(xdg-mime query default "$type" 2>/dev/null || true)
      if [ "${DEFAULT:-0}" = 1 ] || [ -z "$owner" ] || [ "$owner" = quillpane.desktop ]; then
        take+=("$type")
      fi
    done
  fi

  trap write_manifest EXIT
  make_dir "$share"
  record f "$manifest"
  put "$exe" "$share/quillpane.exe"
  put "$exporter" "$share/quillpane-export" 755
  [ ! -d "$root/build/$flavour/fonts" ] || put_tree "$root/build/$flavour/fonts" "$share/fonts"
  put_tree "$root/samples" "$share/samples"
  put "$root/src/linux/quillpane.sh" "$dest/bin/quillpane" 755
  put "$root/src/linux/quillpane-mime.xml" "$dest/share/mime/packages/quillpane.xml"

  # The entry names the launcher by its full path: a bin folder made just
  # now is not on the desktop session's PATH before the next login.
  local entry
  mkdir -p "$build/icons"
  entry=$(<"$root/src/linux/quillpane.desktop")
  printf '%s\n' "${entry/Exec=quillpane /Exec=\"${launcher//%/%%}\" }" >"$build/quillpane.desktop"
  put "$build/quillpane.desktop" "$dest/share/applications/quillpane.desktop"
  # The thumbnailer too: file managers run it with no PATH of ours. Its Exec
  # is split as a shell would split it, after %% and the other field codes
  # are replaced, so the path is quoted and its percent signs doubled.
  local thumbnailer=$prefix/share/quillpane/quillpane-export
  entry=$(<"$root/src/linux/quillpane.thumbnailer")
  entry=${entry/TryExec=quillpane-export/TryExec=$thumbnailer}
  printf '%s\n' "${entry/Exec=quillpane-export /Exec=\"${thumbnailer//%/%%}\" }" >"$build/quillpane.thumbnailer"
  put "$build/quillpane.thumbnailer" "$dest/share/thumbnailers/quillpane.thumbnailer"
  python3 "$root/tools/make_icon.py" --png "$build/icons"
  for size in 16x16 32x32 48x48 256x256; do
    put "$build/icons/$size.png" "$dest/share/icons/hicolor/$size/apps/quillpane.png"
  done

  local before
  before=$(database_files)
  refresh_databases
  while IFS= read -r path; do
    if [ -d "$path" ]; then record d "$path"; else record f "$path"; fi
  done < <(LC_ALL=C comm -13 <(printf '%s\n' "$before") <(database_files))

  if [ ${#take[@]} -gt 0 ]; then
    if [ ! -f "$mimeapps" ]; then
      make_dir "$(dirname "$mimeapps")"
      : >"$mimeapps"
      record list "$mimeapps"
    fi
    for type in "${take[@]}"; do
      record default "$type" "-$(default_of "$type")"
      set_default "$type" quillpane.desktop
    done
  fi
  write_manifest
  make_wine_prefix "$dest/bin/quillpane"
  echo "quillpane: installed under $dest; open art with: $launcher FILE"
}

case ${1:-} in
  install) do_install ;;
  uninstall) do_uninstall && uninstall_wine_prefix ;;
  *) echo "usage: $0 install|uninstall" >&2; exit 2 ;;
esac
