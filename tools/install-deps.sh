#!/usr/bin/env bash
# Installs what the build, the programs and the tests need on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  g++ cmake make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev \
  libgl-dev fonts-wqy-zenhei fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra \
  fonts-freefont-ttf \
  xvfb >/dev/null
