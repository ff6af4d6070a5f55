# Shared by scripts/test and scripts/demo: installs what the project needs on
# Debian 12 (only what is missing) and builds with CMake.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# ensure_packages PKG...: installs the Debian packages that are not installed yet.
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libsqlite3-dev sqlite3
  unixodbc-dev unixodbc tdsodbc fonts-thai-tlwg)
SITE_PACKAGES=(php-cli php-xml)
TEST_PACKAGES=(libgtest-dev libxml2-dev libxml2-utils postgresql odbc-postgresql xvfb chromium apache2 libapache2-mod-php curl)
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# build DIR [cmake options...]: configures and builds the whole tree into DIR.
build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}

# site_test_modules: the npm packages of the site's browser tests (no browser download).
site_test_modules() {
  if [ ! -d "$ROOT/tests/web/node_modules/playwright-core" ]; then
    npm ci --prefix "$ROOT/tests/web" --no-audit --no-fund --loglevel=error
  fi
}

# register_odbc_drivers: FreeTDS and psqlODBC register themselves only when
# debconf lets them; make sure both are in odbcinst.ini.
register_odbc_drivers() {
  odbcinst -q -d -n FreeTDS >/dev/null 2>&1 || as_root odbcinst -i -d -f /usr/share/tdsodbc/odbcinst.ini
  if [ -f /usr/share/psqlodbc/odbcinst.ini.template ]; then
    odbcinst -q -d -n "PostgreSQL Unicode" >/dev/null 2>&1 ||
      as_root odbcinst -i -d -f /usr/share/psqlodbc/odbcinst.ini.template
  fi
}
