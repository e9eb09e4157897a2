#!/usr/bin/env bash
# make_db.sh <database> <script.sql>...: builds a sample database afresh from its
# scripts with the sqlite3 shell. When the database has a Users table, the user
# running the build (the logon name Wine reports) becomes an administrator; when it
# has an Empleados table, that user also gets an employee row, so that the same
# logon can be made a restricted user (see restrict_session_user.sql).
set -euo pipefail
out=$1
shift
rm -f "$out" "$out-journal"
tmp="$out.tmp"
rm -f "$tmp"
cat "$@" | sqlite3 -bail "$tmp"
if [ "$(sqlite3 "$tmp" "SELECT count(*) FROM sqlite_master WHERE name = 'Users'")" = 1 ]; then
  me=$(id -un)
  me=${me//\'/\'\'}
  sqlite3 -bail "$tmp" "INSERT OR REPLACE INTO Users (UserName, UserDescription, UserLevel) VALUES ('$me', 'Administrador ($me)', 0)"
fi
if [ "$(sqlite3 "$tmp" "SELECT count(*) FROM sqlite_master WHERE name = 'Empleados'")" = 1 ]; then
  me=$(id -un)
  me=${me//\'/\'\'}
  sqlite3 -bail "$tmp" "INSERT OR REPLACE INTO Empleados (EmpleadoId, UserName, Nombre, GerenciaId) VALUES ('E9999', '$me', 'Usuario de la sesión', 'OP')"
fi
mv "$tmp" "$out"
