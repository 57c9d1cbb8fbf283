#!/usr/bin/env python3
"""Writes the installable app's files into the browser edition's folder:
manifest.webmanifest (its icons are those under icons/) and sw.js, the
service worker made from sw.js in this folder with every file of the build
and a version: a hash of those files, so one build's files are kept apart
from another's.

Usage: make_offline.py BUILD_WEB_DIR TEMPLATE_DIR
"""
import hashlib
import json
import os
import sys

# What the page never fetches: the build's own folder and the worker itself.
SKIPPED = {'cmake', 'sw.js'}


def served_files(root):
    found = []
    for folder, folders, files in os.walk(root):
        relative = os.path.relpath(folder, root)
        if relative == '.':
            folders[:] = [f for f in folders if f not in SKIPPED]
        for name in files:
            path = os.path.normpath(os.path.join(relative, name))
            if path not in SKIPPED:
                found.append(path.replace(os.sep, '/'))
    return sorted(found)


def write_manifest(root):
    icons = [{'src': 'icons/' + name, 'sizes': '%sx%s' % (size, size), 'type': 'image/png', 'purpose': 'any'}
             for size in (192, 512) for name in ['pelmot-%d.png' % size]
             if os.path.isfile(os.path.join(root, 'icons', name))]
    manifest = {
        'name': 'PELMOT',
        'short_name': 'PELMOT',
        'description': 'A visual novel: a prologue and fourteen days, ten endings.',
        'lang': 'ja',
        'start_url': './',
        'scope': './',
        'display': 'standalone',
        'orientation': 'landscape',
        'background_color': '#000000',
        'theme_color': '#000000',
        'icons': icons,
    }
    with open(os.path.join(root, 'manifest.webmanifest'), 'w', encoding='utf-8') as out:
        json.dump(manifest, out, ensure_ascii=False, indent=2)
        out.write('\n')


def version_of(root, files):
    digest = hashlib.sha256()
    for path in files:
        digest.update(path.encode() + b'\0')
        with open(os.path.join(root, path), 'rb') as f:
            digest.update(hashlib.sha256(f.read()).digest())
    return digest.hexdigest()[:16]


def main():
    root, templates = sys.argv[1], sys.argv[2]
    write_manifest(root)
    files = served_files(root)
    version = version_of(root, files)
    with open(os.path.join(templates, 'sw.js'), encoding='utf-8') as f:
        worker = f.read()
    worker = worker.replace('@VERSION@', version).replace('@FILES@', json.dumps(['./'] + files, indent=1))
    with open(os.path.join(root, 'sw.js'), 'w', encoding='utf-8') as out:
        out.write(worker)
    print('web app version %s, %d files kept for offline play' % (version, len(files)))


if __name__ == '__main__':
    main()
