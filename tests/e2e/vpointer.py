#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A virtual pointer for end-to-end tests on wlroots compositors (sway).

Speaks the Wayland wire protocol on $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY and drives
zwlr_virtual_pointer_v1. Steps, run in order:
    move X Y        put the pointer at X,Y of the output layout
    click BUTTON    press and release left, right or middle
    double BUTTON   two clicks 80 ms apart (a double click is two clicks in time)
Given as arguments, the device lives until the last step is done. Without arguments
it lives until standard input ends and runs each line read from it as steps, writing
"ok" once the compositor has taken them: started before the program, the program sees
a seat with a pointer from its start, and no step has to wait for it to notice one.
"""

import os
import socket
import struct
import sys
import time

BUTTONS = {"left": 0x110, "right": 0x111, "middle": 0x112}


class Connection:
    def __init__(self):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ.get("WAYLAND_DISPLAY", "wayland-0"))
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id = 2  # 1 is wl_display
        self.buffer = b""

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, payload=b""):
        size = 8 + len(payload)
        self.sock.sendall(struct.pack("<II", obj, (size << 16) | opcode) + payload)

    def events(self):
        """Reads what has arrived: (object, opcode, payload) triples."""
        self.sock.settimeout(2.0)
        chunk = self.sock.recv(65536)
        if not chunk:
            raise SystemExit("vpointer: the compositor closed the connection")
        self.buffer += chunk
        out = []
        while len(self.buffer) >= 8:
            obj, word = struct.unpack_from("<II", self.buffer)
            size = word >> 16
            if len(self.buffer) < size:
                break
            out.append((obj, word & 0xFFFF, self.buffer[8:size]))
            self.buffer = self.buffer[size:]
        return out

    def roundtrip(self, handler=None):
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        while True:
            for obj, opcode, payload in self.events():
                if obj == 1 and opcode == 0:  # wl_display.error
                    raise SystemExit("vpointer: protocol error %r" % (payload,))
                if obj == callback:
                    return
                if handler:
                    handler(obj, opcode, payload)


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def main(steps):
    conn = Connection()
    registry = conn.new_id()
    conn.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
    globals_ = {}

    def on_global(obj, opcode, payload):
        if obj == registry and opcode == 0:
            name, length = struct.unpack_from("<II", payload)
            interface = payload[8:8 + length - 1].decode()
            globals_[interface] = name

    conn.roundtrip(on_global)
    for needed in ("wl_seat", "zwlr_virtual_pointer_manager_v1"):
        if needed not in globals_:
            raise SystemExit("vpointer: the compositor offers no " + needed)

    def bind(interface, version):
        new = conn.new_id()
        conn.send(registry, 0, struct.pack("<I", globals_[interface]) + string(interface)
                  + struct.pack("<II", version, new))
        return new

    seat = bind("wl_seat", 1)
    manager = bind("zwlr_virtual_pointer_manager_v1", 1)
    pointer = conn.new_id()
    conn.send(manager, 0, struct.pack("<II", seat, pointer))  # create_virtual_pointer
    conn.roundtrip()

    start = time.monotonic()

    def stamp():
        return int((time.monotonic() - start) * 1000) & 0xFFFFFFFF

    def button(code, state):
        conn.send(pointer, 2, struct.pack("<III", stamp(), code, state))
        conn.send(pointer, 4)  # frame

    if steps:
        run(conn, pointer, button, stamp, steps)
    else:
        for line in sys.stdin:
            run(conn, pointer, button, stamp, line.split())
            print("ok", flush=True)
    try:
        conn.send(pointer, 8)  # destroy
        conn.roundtrip()
    except OSError:
        pass  # the compositor went first, at the end of the session


def run(conn, pointer, button, stamp, steps):
    i = 0
    while i < len(steps):
        step = steps[i]
        if step == "move":
            x, y = int(steps[i + 1]), int(steps[i + 2])
            # Absolute within the layout's extent: 1/1000 of a pixel keeps it exact.
            conn.send(pointer, 1, struct.pack("<IIIII", stamp(), x * 1000 + 500, y * 1000 + 500,
                                              int(os.environ.get("VPOINTER_WIDTH", "1280")) * 1000,
                                              int(os.environ.get("VPOINTER_HEIGHT", "800")) * 1000))
            conn.send(pointer, 4)
            i += 3
        elif step in ("click", "double"):
            code = BUTTONS[steps[i + 1]]
            for n in range(2 if step == "double" else 1):
                if n:
                    conn.roundtrip()
                    time.sleep(0.08)
                button(code, 1)
                button(code, 0)
            i += 2
        else:
            raise SystemExit("vpointer: unknown step " + step)
        conn.roundtrip()


if __name__ == "__main__":
    main(sys.argv[1:])
