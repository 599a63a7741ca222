# Sourced by the deps scripts: install_missing [--no-install-recommends]
# PACKAGE... installs, as root on Debian 12, those of the packages that are
# not installed yet; as another user it prints the install line and fails.
install_missing() {
  local options=() missing=() p
  if [ "${1:-}" = --no-install-recommends ]; then
    options=(--no-install-recommends)
    shift
  fi
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${options[*]} ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${options[@]}" "${missing[@]}" >/dev/null
}
