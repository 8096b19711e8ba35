# Installs the Debian packages that building, running and testing the launcher need, and says
# nothing when they are all there. Sourced by run.sh, test.sh and the drawing scripts.

rsim_packages=(
    cmake g++ make pkg-config ccache
    clang libclang-rt-14-dev # the fuzz targets
    clang-tidy
    qt6-base-dev libjpeg62-turbo-dev libfontconfig-dev
    libarchive-dev p7zip-full libarchive-tools # packs; the tests' 7z packs; bsdtar for the benchmark
    libjpeg-turbo-progs # cjpeg makes the arithmetic-coded test pictures
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth xdotool x11-apps imagemagick valgrind
    x11-xserver-utils # xmodmap gives the plays' keyboard the Polish letters
    dbus at-spi2-core python3-pyatspi
    libxcb1-dev libxcb-damage0-dev # the start-up benchmark watches the X server
    openbox libglib2.0-bin # a window manager that shows a window's icon; gio reads menu entries
    dpkg-dev file lintian desktop-file-utils appstream # building and checking the package
    wine wine64 gcc-mingw-w64-x86-64-win32 gcc-mingw-w64-i686-win32 locales
    wine32:i386 # the simulator is usually a 32-bit Windows program
)

# Installs the packages named, or without names those above.
ensure_packages() {
    local wanted=("$@")
    [ ${#wanted[@]} -eq 0 ] && wanted=("${rsim_packages[@]}")
    local missing=()
    local package
    for package in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # A package of another architecture needs that architecture added before the update.
    local architecture
    for architecture in $(printf '%s\n' "${missing[@]}" | sed -n 's/.*:\(.*\)/\1/p' | sort -u); do
        [ "$architecture" = "$(dpkg --print-architecture)" ] && continue
        dpkg --print-foreign-architectures | grep -qx "$architecture" ||
            $sudo dpkg --add-architecture "$architecture"
    done
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds into build/.
build_launcher() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo --log-level=WARNING >/dev/null
    cmake --build build --parallel "$(nproc)"
}

# Configures and builds the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer
# (leaks included) into build-sanitized/.
build_sanitized() {
    cmake -S . -B build-sanitized -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRSIM_SANITIZE=ON \
        --log-level=WARNING >/dev/null
    cmake --build build-sanitized --parallel "$(nproc)"
}
