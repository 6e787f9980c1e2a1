#!/usr/bin/env bash
# Installs the given Debian packages that are not installed yet, through sudo
# when not root:  scripts/install-packages.sh pkg...
# TINTARO_AGAIN names the command to start again once a user without sudo has
# installed them as root (./run.sh unless the caller says otherwise).
set -euo pipefail
missing=()
for pkg in "$@"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    cat >&2 <<END
Tintaro necesita estos paquetes de Debian, que faltan: ${missing[*]}
Instálalos como administrador; su pide la contraseña de root:
  su -c 'apt-get update && apt-get install --no-install-recommends ${missing[*]}'
Después vuelve a ejecutar ${TINTARO_AGAIN:-./run.sh}.
END
    exit 1
  fi
  as_root=(sudo)
fi
echo "Instalando: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
