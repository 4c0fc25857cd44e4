#!/usr/bin/python3
"""Writes the update feeds and images of the cloud into OUTDIR, for the harness HTTP server.

    make_update_files.py --base-url URL OUTDIR [--firmware-size BYTES]

OUTDIR/sp-qx8-update/update.xml (production) and OUTDIR/sp-qx8-update-test/update.xml (validation
mode) announce application builds for several platforms and firmware for the QX8, with image URLs
below URL (the address the server is reached at). Each feed holds one hostile row whose version
would name a file outside the image cache; the application must skip it.
OUTDIR/sp-qx8-update/firmware-updater.html is the page the Utilities screen's device strip links
to: where the firmware updater for Windows and the newest firmware image are.

Firmware images are what VirtualQX8 checks and installs: one header line
    QX8FW <version> <payload length> <SHA-256 of the payload, hex>
then the payload (pseudo-random bytes, the same for every run). Application images are plain
pseudo-random bytes. Prints the images it wrote as JSON: {path below OUTDIR: size}.
"""
import argparse
import hashlib
import json
import os
import random

FEEDS = {
    "sp-qx8-update": {"apps": [("1.1.5", "Mac"), ("9.9.9", "Win"), ("1.1.7", "Mac")],
                      "firmware": ["2.4.0", "2.5.0"]},
    "sp-qx8-update-test": {"apps": [("1.1.8", "Mac"), ("9.9.9", "Win")],
                           "firmware": ["2.6.0"]},
}
HOSTILE_VERSION = "9.9.9/../../../.config/autostart/qx8.1"


def payload(seed, size):
    return random.Random(seed).randbytes(size)


def firmware_image(version, size):
    data = payload("firmware " + version, size)
    header = "QX8FW %s %d %s\n" % (version, len(data), hashlib.sha256(data).hexdigest())
    return header.encode("ascii") + data


def write(out, path, content, written):
    target = os.path.join(out, path)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with open(target, "wb") as file:
        file.write(content)
    written[path] = len(content)


def feed(base_url, container, entry, out, firmware_size, written):
    rows = []
    for version, platform in entry["apps"]:
        path = "%s/app/QX8Control-%s-%s.dmg" % (container, platform, version)
        write(out, path, payload("app " + version + platform, 64 * 1024), written)
        rows.append('      <Revision Version="%s" Platform="%s" ImageUrl="%s/%s"/>'
                    % (version, platform, base_url, path))
    rows.append('      <Revision Version="%s" Platform="Mac" ImageUrl="%s/%s/app/evil.dmg"/>'
                % (HOSTILE_VERSION, base_url, container))
    firmware = []
    for version in entry["firmware"]:
        path = "%s/firmware/QX8-%s.img" % (container, version)
        write(out, path, firmware_image(version, firmware_size), written)
        firmware.append('      <Revision Version="%s" ImageUrl="%s/%s"/>' % (version, base_url, path))
    firmware.append('      <Revision Version="%s" ImageUrl="%s/%s/firmware/evil.img"/>'
                    % (HOSTILE_VERSION, base_url, container))
    document = "\n".join([
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<Config>',
        '  <Brand Name="yoxl">',
        '    <Product Name="QX8 Application">', *rows, '    </Product>',
        '    <Product Name="QX8 Firmware">', *firmware, '    </Product>',
        '  </Brand>',
        '</Config>', ''])
    write(out, container + "/update.xml", document.encode("utf-8"), written)


def tool_page(base_url, out, written):
    container = "sp-qx8-update"
    newest = FEEDS[container]["firmware"][-1]
    image = "%s/%s/firmware/QX8-%s.img" % (base_url, container, newest)
    page = "\n".join([
        "<!DOCTYPE html>",
        '<html lang="en"><head><meta charset="utf-8"><title>Spandrell QX8 firmware</title></head>',
        "<body>",
        "<h1>Spandrell QX8 firmware updater</h1>",
        "<p>Update the firmware of a Spandrell QX8 from Windows with the firmware updater.</p>",
        '<p>Newest firmware: <a href="%s">version %s</a>.</p>' % (image, newest),
        "</body></html>", ""])
    write(out, container + "/firmware-updater.html", page.encode("utf-8"), written)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--base-url", required=True)
    parser.add_argument("--firmware-size", type=int, default=256 * 1024,
                        help="payload bytes of each firmware image")
    parser.add_argument("out")
    args = parser.parse_args()
    written = {}
    for container, entry in FEEDS.items():
        feed(args.base_url.rstrip("/"), container, entry, args.out, args.firmware_size, written)
    tool_page(args.base_url.rstrip("/"), args.out, written)
    print(json.dumps(written, sort_keys=True))


if __name__ == "__main__":
    main()
