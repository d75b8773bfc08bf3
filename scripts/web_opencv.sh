#!/usr/bin/env bash
# Builds OpenCV's core and imgproc for WebAssembly into build-web/opencv/, the
# two libraries the picture tracer (trace/) stands on, so the page can trace
# pictures as the desktop does. Called by scripts/web.sh.
#
# Why from source: Debian ships OpenCV only for the host, and emscripten's own
# ports are fetched from the network at build time; Debian's source package
# (the same 4.6 the desktop links) is reachable through apt. Only the orig
# tarball's core, imgproc and CMake files are unpacked.
#
# Why so trimmed: CI builds everything on a new 2-core machine within a fixed
# time, so only core and imgproc are built, static, without threads, without
# any accelerator or third-party library (none of those are in the tarball
# anyway). The result is kept: a second run with the same recipe does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-web/opencv
work=$root/build-web/opencv-work

# The recipe's own text names the result: edit this script and it rebuilds.
recipe=$(sha256sum "$0" | cut -c1-16)
if [ -f "$out/recipe" ] && [ "$(cat "$out/recipe")" = "$recipe" ]; then
  exit 0
fi
start=$(date +%s)
rm -rf "$out" "$work"
mkdir -p "$work"

# A private sources list, so the machine's apt configuration is left alone,
# with the address and suite of the machine's own Debian sources: the first
# URIs and Suites of the deb822 file, else the first deb line of the old list.
debian_source() {
  local file=/etc/apt/sources.list.d/debian.sources uri="" suite=""
  if [ -f "$file" ]; then
    uri=$(awk '/^URIs:/ {print $2; exit}' "$file")
    suite=$(awk '/^Suites:/ {print $2; exit}' "$file")
  fi
  if { [ -z "$uri" ] || [ -z "$suite" ]; } && [ -f /etc/apt/sources.list ]; then
    read -r uri suite < <(awk '$1 == "deb" {i = 2; if ($2 ~ /^\[/) while ($i !~ /\]$/) i++; if ($2 ~ /^\[/) i++;
                                print $i, $(i + 1); exit}' /etc/apt/sources.list) || true
  fi
  if [ -z "$uri" ] || [ -z "$suite" ]; then
    echo "web_opencv.sh: no Debian source address in the machine's apt configuration" >&2
    exit 2
  fi
  echo "deb-src $uri $suite main"
}
debian_source >"$work/sources.list"
apt_opts=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache")
mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
apt-get "${apt_opts[@]}" -qq update
(cd "$work" && apt-get "${apt_opts[@]}" -qq source --download-only opencv 2>/dev/null)
tarball=$(ls "$work"/opencv_4.6.0+dfsg.orig.tar.xz)
tar -C "$work" -xJf "$tarball" opencv-4.6.0/CMakeLists.txt opencv-4.6.0/LICENSE \
  opencv-4.6.0/cmake opencv-4.6.0/include opencv-4.6.0/modules/core opencv-4.6.0/modules/imgproc
src=$work/opencv-4.6.0

# The core writes gzip-compressed storage files through zlib, which the page
# never does and emscripten offers only from the network; the storage code
# guards every zlib call with this switch.
sed -i 's/^#define USE_ZLIB 1$/#define USE_ZLIB 0/' "$src/modules/core/src/persistence.hpp"
grep -q '^#define USE_ZLIB 0$' "$src/modules/core/src/persistence.hpp"
# The documentation, the data files (cascades) and the platform scripts are
# left in the tarball; OpenCV's build still adds their folders and installs
# two of the scripts.
for dir in doc data; do mkdir -p "$src/$dir" && : >"$src/$dir/CMakeLists.txt"; done
mkdir -p "$src/platforms/scripts"
: >"$src/platforms/scripts/valgrind.supp"
: >"$src/platforms/scripts/valgrind_3rdparty.supp"

export NODE_PATH=/usr/share/nodejs
# zlib: declared found and never searched for (see above).
emcmake cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$out" \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS="-msimd128" -DCMAKE_C_FLAGS="-msimd128" \
  -DCMAKE_DISABLE_FIND_PACKAGE_ZLIB=ON -DZLIB_FOUND=ON \
  -DBUILD_LIST=core,imgproc -DBUILD_SHARED_LIBS=OFF -DENABLE_PIC=OFF \
  -DCPU_BASELINE= -DCPU_DISPATCH= -DCV_ENABLE_INTRINSICS=ON \
  -DOPENCV_PYTHON_SKIP_DETECTION=ON -DCV_TRACE=OFF -DENABLE_PRECOMPILED_HEADERS=OFF -DOPENCV_GENERATE_PKGCONFIG=OFF \
  -DBUILD_TESTS=OFF -DBUILD_PERF_TESTS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOCS=OFF \
  -DBUILD_opencv_apps=OFF -DBUILD_JAVA=OFF -DBUILD_opencv_python2=OFF -DBUILD_opencv_python3=OFF \
  -DWITH_PTHREADS_PF=OFF -DWITH_OPENMP=OFF -DWITH_TBB=OFF -DWITH_IPP=OFF -DWITH_ITT=OFF \
  -DWITH_OPENCL=OFF -DWITH_OPENCLAMDFFT=OFF -DWITH_OPENCLAMDBLAS=OFF -DWITH_VA=OFF -DWITH_VA_INTEL=OFF \
  -DWITH_CUDA=OFF -DWITH_EIGEN=OFF -DWITH_LAPACK=OFF -DWITH_HALIDE=OFF -DWITH_VULKAN=OFF \
  -DWITH_ADE=OFF -DWITH_PROTOBUF=OFF -DWITH_QUIRC=OFF -DWITH_CAROTENE=OFF -DWITH_OPENVX=OFF \
  -DWITH_JPEG=OFF -DWITH_PNG=OFF -DWITH_TIFF=OFF -DWITH_WEBP=OFF -DWITH_OPENJPEG=OFF -DWITH_JASPER=OFF \
  -DWITH_OPENEXR=OFF -DWITH_IMGCODEC_HDR=OFF -DWITH_IMGCODEC_SUNRASTER=OFF -DWITH_IMGCODEC_PXM=OFF \
  -DWITH_IMGCODEC_PFM=OFF -DWITH_GDAL=OFF -DWITH_GDCM=OFF \
  -DWITH_GTK=OFF -DWITH_QT=OFF -DWITH_FFMPEG=OFF -DWITH_GSTREAMER=OFF -DWITH_V4L=OFF -DWITH_1394=OFF \
  -DWITH_VTK=OFF -DWITH_PLAIDML=OFF -DWITH_ONNX=OFF -DWITH_TIMVX=OFF \
  >"$work/configure.log"
# OpenCV's vector code warns of each deprecated intrinsic it uses, some
# hundred thousand lines; the build's output is shown only when it fails.
if ! cmake --build "$work/build" -j2 >"$work/build.log" 2>&1; then
  grep -v -e 'warning:' -e '^In file included' -e '^ *[0-9]* | ' "$work/build.log" | tail -60
  echo "OpenCV's build failed; its whole output is in $work/build.log" >&2
  exit 1
fi
cmake --install "$work/build" >/dev/null
echo "$recipe" >"$out/recipe"
# The sources are not needed once installed; the tarball is the larger part.
rm -rf "$work"
echo "OpenCV core and imgproc for WebAssembly built in $(( $(date +%s) - start )) s"
