#!/bin/sh
# makensis making a 64-bit installer: Debian's nsis has the amd64-unicode
# stubs and plugins, and its 64-bit-only Wine cannot start a 32-bit installer.
exec makensis "-XTarget amd64-unicode" "-XSetDateSave off" "$@"
