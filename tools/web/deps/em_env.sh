# shellcheck shell=bash
# Emscripten's optimizer runs under node and needs Debian's node-acorn from
# /usr/share/nodejs. Debian's own node looks there; a node from elsewhere
# (such as a repackaged upstream one) does not, so name the folder.
case ":${NODE_PATH:-}:" in
  *:/usr/share/nodejs:*) ;;
  *) export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH} ;;
esac
