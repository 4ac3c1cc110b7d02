#!/usr/bin/env bash
# How the browser history files in this folder were made, once, with Debian's
# chromium and firefox-esr run headless on pages served from 127.0.0.1.
# Kept as a record; the test suite never runs it (it needs both browsers).
#
#   apt-get install -y --no-install-recommends chromium firefox-esr
#   tests/data/browsers/make_fixtures.sh [output folder, default: this folder]
set -euo pipefail

OUT=${1:-$(cd "$(dirname "$0")" && pwd)}
PORT=8765
SITE=http://127.0.0.1:$PORT
WORK=$(mktemp -d)
SERVER_PID=
cleanup() {
    if [[ -n $SERVER_PID ]]; then kill "$SERVER_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT
# Keep both browsers out of the real home folder.
export HOME=$WORK/home
mkdir -p "$HOME"

# --- the pages --------------------------------------------------------------
page() { # path title
    mkdir -p "$(dirname "$WORK/site/$1")"
    printf '<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>%s</title></head><body><p>%s</p></body></html>\n' \
        "$2" "$2" >"$WORK/site/$1"
}
page index.html "Snapdesk fixture home"
page docs/node.html "Node.js docs - Getting started"
page unicode.html "Café Zürich — Straße 東京"
page a/same.html "Same title"
page b/same.html "Same title"
page notes.html "Release notes (draft)"
page fresh.html "Fresh page - only in the WAL"

python3 -m http.server "$PORT" --bind 127.0.0.1 --directory "$WORK/site" >"$WORK/http.log" 2>&1 &
SERVER_PID=$!
for _ in $(seq 50); do curl -sf "$SITE/index.html" >/dev/null && break; sleep 0.1; done

# --- Chromium -----------------------------------------------------------------
UD=$WORK/chromium
chromium_visit() { # profile-directory url
    # --dump-dom loads the page and quits cleanly, which commits History.
    timeout 60 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$UD" --profile-directory="$1" --dump-dom "$2" \
        >/dev/null 2>>"$WORK/chromium.log"
    sleep 1
}
chromium_visit Default "$SITE/index.html"
chromium_visit "Profile 1" "$SITE/b/same.html"
# Name the two profiles as a user would in the profile menu; Chromium keeps the
# names and writes Local State again on each of the following runs.
python3 - "$UD/Local State" <<'EOF'
import json, sys
path = sys.argv[1]
state = json.load(open(path, encoding="utf-8"))
cache = state["profile"]["info_cache"]
for folder, name in (("Default", "Personal"), ("Profile 1", "Zoë (work)")):
    cache[folder]["name"] = name
    cache[folder]["is_using_default_name"] = False
json.dump(state, open(path, "w", encoding="utf-8"), ensure_ascii=False)
EOF
chromium_visit Default "$SITE/docs/node.html"
chromium_visit Default "$SITE/unicode.html"
chromium_visit Default "$SITE/a/same.html"
sleep 2
chromium_visit Default "$SITE/b/same.html"
chromium_visit "Profile 1" "$SITE/unicode.html"
sleep 2
chromium_visit "Profile 1" "$SITE/a/same.html"

# --- Firefox --------------------------------------------------------------------
FF=$WORK/firefox
MAIN=x7k2m9qd.default-release
CRASHED=p3v8n1zc.default
firefox_visit() { # profile-folder url
    # --screenshot loads the page in the real browser, records the visit and
    # quits cleanly, which checkpoints places.sqlite-wal into places.sqlite.
    timeout 60 firefox-esr --headless --profile "$1" --screenshot "$WORK/shot.png" "$2" \
        >/dev/null 2>>"$WORK/firefox.log"
    sleep 1
}
mkdir -p "$FF/$MAIN" "$FF/$CRASHED"
firefox_visit "$FF/$MAIN" "$SITE/index.html"
firefox_visit "$FF/$MAIN" "$SITE/docs/node.html"
firefox_visit "$FF/$MAIN" "$SITE/unicode.html"
firefox_visit "$FF/$MAIN" "$SITE/a/same.html"
sleep 2
firefox_visit "$FF/$MAIN" "$SITE/b/same.html"

firefox_visit "$FF/$CRASHED" "$SITE/index.html"
firefox_visit "$FF/$CRASHED" "$SITE/notes.html"

# Firefox creates places.sqlite with 32 KiB pages and grows it in 5 MiB steps;
# VACUUM into 1 KiB pages (same schema and rows, still in WAL mode) keeps the
# files small. The crashed profile is packed before the run that is killed, so
# its -wal holds frames exactly as Firefox wrote them.
repack() { # database
    python3 - "$1" <<'EOF'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1], isolation_level=None)
mode = db.execute("PRAGMA journal_mode").fetchone()[0]
db.execute("PRAGMA journal_mode=DELETE")
db.execute("PRAGMA page_size=1024")
db.execute("VACUUM")
if mode == "wal":
    db.execute("PRAGMA journal_mode=WAL")
db.close()
EOF
    rm -f "$1-wal" "$1-shm" "$1-journal"
}
repack "$FF/$CRASHED/places.sqlite"

# The page's title changes; Firefox shows it again beside a new page and is
# killed while running: both rows are only in places.sqlite-wal.
page notes.html "Release notes 1.0"
setsid firefox-esr --headless --profile "$FF/$CRASHED" "$SITE/notes.html" "$SITE/fresh.html" \
    >/dev/null 2>>"$WORK/firefox.log" &
FF_PID=$!
sleep 12
kill -9 -- "-$FF_PID"
wait "$FF_PID" || true
rm -f "$FF/$CRASHED/places.sqlite-shm"

# --- lay them out as on Windows ---------------------------------------------------
# %LOCALAPPDATA%\Chromium\User Data and %APPDATA%\Mozilla\Firefox.
rm -rf "$OUT/chromium" "$OUT/firefox"
for p in Default "Profile 1"; do
    mkdir -p "$OUT/chromium/User Data/$p"
    cp "$UD/$p/History" "$OUT/chromium/User Data/$p/History"
    repack "$OUT/chromium/User Data/$p/History"
done
cp "$UD/Local State" "$OUT/chromium/User Data/Local State"

mkdir -p "$OUT/firefox/Profiles/$MAIN" "$OUT/firefox/Profiles/$CRASHED"
cp "$FF/$MAIN/places.sqlite" "$OUT/firefox/Profiles/$MAIN/places.sqlite"
repack "$OUT/firefox/Profiles/$MAIN/places.sqlite"
cp "$FF/$CRASHED/places.sqlite" "$FF/$CRASHED/places.sqlite-wal" "$OUT/firefox/Profiles/$CRASHED/"

# Firefox writes its INI files through a text-mode fopen: CRLF on Windows.
# 308046B0AF4A39CB is the install hash of C:\Program Files\Mozilla Firefox.
crlf() { sed 's/$/\r/'; }
crlf >"$OUT/firefox/profiles.ini" <<EOF
[Install308046B0AF4A39CB]
Default=Profiles/$MAIN
Locked=1

[Profile1]
Name=default
IsRelative=1
Path=Profiles/$CRASHED
Default=1

[Profile0]
Name=default-release
IsRelative=1
Path=Profiles/$MAIN

[General]
StartWithLastProfile=1
Version=2

EOF
crlf >"$OUT/firefox/installs.ini" <<EOF
[308046B0AF4A39CB]
Default=Profiles/$MAIN
Locked=1

EOF

# --- check -------------------------------------------------------------------------
python3 - "$OUT" <<'EOF'
import json, os, shutil, sqlite3, sys, tempfile
out = sys.argv[1]

def rows(files, query):
    # Read a private copy: opening the pair in place would checkpoint the -wal away.
    with tempfile.TemporaryDirectory() as tmp:
        for f in files:
            shutil.copy(f, tmp)
        db = sqlite3.connect(os.path.join(tmp, os.path.basename(files[0])))
        result = db.execute(query).fetchall()
        db.close()
        return result

ud = os.path.join(out, "chromium", "User Data")
state = json.load(open(os.path.join(ud, "Local State"), encoding="utf-8"))
print("Local State last_used:", state["profile"]["last_used"])
for folder, info in state["profile"]["info_cache"].items():
    print("  profile", repr(folder), "name", repr(info["name"]))
for p in ("Default", "Profile 1"):
    print("chromium", p)
    for r in rows([os.path.join(ud, p, "History")],
                  "SELECT id, url, title, visit_count, last_visit_time FROM urls ORDER BY id"):
        print("  ", r)

ff = os.path.join(out, "firefox", "Profiles")
query = ("SELECT id, url, title, visit_count, last_visit_date FROM moz_places "
         "WHERE last_visit_date IS NOT NULL ORDER BY id")
main = os.path.join(ff, "x7k2m9qd.default-release", "places.sqlite")
print("firefox main")
for r in rows([main], query):
    print("  ", r)
crashed = os.path.join(ff, "p3v8n1zc.default", "places.sqlite")
with_wal = rows([crashed, crashed + "-wal"], query)
without = rows([crashed], query)
print("firefox crashed, with -wal")
for r in with_wal:
    print("  ", r)
print("firefox crashed, places.sqlite alone")
for r in without:
    print("  ", r)
titles = lambda rs: {r[2] for r in rs}
assert {"Release notes 1.0", "Fresh page - only in the WAL"} <= titles(with_wal)
assert not {"Release notes 1.0", "Fresh page - only in the WAL"} & titles(without)
assert "Release notes (draft)" in titles(without)
print("ok")
EOF
