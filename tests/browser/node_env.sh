# shellcheck shell=bash
# Node with puppeteer-core, which drives Debian's Chromium: installed with npm
# once into a cache folder outside the tree, reused afterwards.
PELMOT_NODE_DIR=${PELMOT_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pelmot-web}/node
PELMOT_PUPPETEER=puppeteer-core@24.43.1

pelmot_node_ready() {
  command -v node >/dev/null && command -v npm >/dev/null && [[ -x ${PELMOT_CHROMIUM:-/usr/bin/chromium} ]] ||
    return 1
  if [[ ! -f $PELMOT_NODE_DIR/node_modules/puppeteer-core/package.json ]]; then
    mkdir -p "$PELMOT_NODE_DIR"
    npm install --prefix "$PELMOT_NODE_DIR" --no-audit --no-fund --silent "$PELMOT_PUPPETEER" >&2 || return 1
  fi
  export NODE_PATH=$PELMOT_NODE_DIR/node_modules
}
