# Installs the Debian packages that building, running and testing the launcher need, and says
# nothing when they are all there. Sourced by run.sh and test.sh.

rsim_packages=(
    cmake g++ make pkg-config
    qt6-base-dev libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth xdotool x11-apps imagemagick
    dbus at-spi2-core python3-pyatspi
    libxcb1-dev libxcb-damage0-dev
)

ensure_packages() {
    local missing=()
    local package
    for package in "${rsim_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds into build/.
build_launcher() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo --log-level=WARNING >/dev/null
    cmake --build build --parallel "$(nproc)"
}
