# SPDX-License-Identifier: GPL-3.0-or-later
"""The web remote's cost: the program counting with 100 view clients against the same
program with none (CPU % of one core, resident memory), in turns, and the time from a tick
of the countdown to its message at each client.

Usage: remote_clients.py PID BASE_URL TOKEN [ROUNDS] [SECONDS]

Tick-to-client time: each message is made in the tick itself and carries the time to the
next tick, whose moment is on the countdown's one-second grid from its start; so the tick
happened at start + (elapsed + 1) s - next. The start is taken as the moment the start
command was sent (the core started at most one round trip later), so each figure is at most
that round trip too high; the same constant is in every figure, so the spread above the
fastest message is also given (a lower bound). Both sides read CLOCK_BOOTTIME, as the
countdown does.
"""
import base64
import json
import os
import selectors
import socket
import statistics
import sys
import time
import urllib.request

pid, base, token = int(sys.argv[1]), sys.argv[2], sys.argv[3]
rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 3
seconds = float(sys.argv[5]) if len(sys.argv) > 5 else 10
clients = int(os.environ.get('CLIENTS', 100))
tick = os.sysconf('SC_CLK_TCK')


def boot_ms():
    return time.clock_gettime(time.CLOCK_BOOTTIME) * 1000


def cpu_seconds():
    fields = open(f'/proc/{pid}/stat').read().rsplit(')', 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / tick


def rss_mb():
    for line in open(f'/proc/{pid}/status'):
        if line.startswith('VmRSS:'):
            return int(line.split()[1]) / 1024


def post(path):
    request = urllib.request.Request(base + path, method='POST',
                                     headers={'Authorization': 'Bearer ' + token})
    urllib.request.urlopen(request, timeout=10).read()


def measure(length, sockets=(), arrivals=None):
    """CPU % and RSS over length seconds; meanwhile the sockets' messages are read, each
    stamped when recv returns it (frames parsed by hand: no client library's queue between
    the socket and the stamp)."""
    c0, t0 = cpu_seconds(), time.monotonic()
    began = boot_ms()
    selector = selectors.DefaultSelector()
    buffers = {}
    greeted = set()  # the first message is the state on connecting, not a tick's
    for s in sockets:
        selector.register(s, selectors.EVENT_READ)
        buffers[s] = b''
    while time.monotonic() - t0 < length:
        for key, _ in selector.select(timeout=0.2):
            s = key.fileobj
            data = s.recv(65536)
            at = boot_ms()
            buffers[s] += data
            while True:
                b = buffers[s]
                if len(b) < 2:
                    break
                size, head = b[1] & 0x7f, 2
                if size == 126:
                    if len(b) < 4:
                        break
                    size, head = int.from_bytes(b[2:4], 'big'), 4
                if len(b) < head + size:
                    break
                payload, buffers[s] = b[head:head + size], b[head + size:]
                if s not in greeted:
                    greeted.add(s)
                elif b[0] & 0x0f == 1 and b'"next"' in payload:
                    state = json.loads(payload)
                    arrivals.append((at, state['elapsed'], state['next'], began))
    selector.close()
    return 100 * (cpu_seconds() - c0) / (time.monotonic() - t0), rss_mb()


def open_view(host, port):
    s = socket.create_connection((host, port))
    key = base64.b64encode(os.urandom(16)).decode()
    s.sendall(f'GET /ws HTTP/1.1\r\nHost: {host}:{port}\r\nUpgrade: websocket\r\n'
              f'Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n'
              f'Sec-WebSocket-Version: 13\r\n\r\n'.encode())
    answer = b''
    while b'\r\n\r\n' not in answer:
        answer += s.recv(1)  # byte by byte: the first message stays in the socket
    if not answer.startswith(b'HTTP/1.1 101'):
        sys.exit('no WebSocket: ' + answer.decode(errors='replace'))
    return s


def main():
    try:
        post('/api/end')
    except Exception:
        pass
    start = boot_ms()
    post('/api/start?seconds=3600')
    round_trip = boot_ms() - start
    none, many, latencies = [], [], []
    per_tick = {}  # elapsed -> latencies of that tick at every client
    host, port = base.split('//')[1].split(':')[0], int(base.rsplit(':', 1)[1])
    for _ in range(rounds):
        time.sleep(1)
        none.append(measure(seconds))
        sockets = [open_view(host, port) for _ in range(clients)]
        arrivals = []
        time.sleep(1)
        many.append(measure(seconds, sockets, arrivals))
        for s in sockets:
            s.close()
        for at, elapsed, wait, began in arrivals:
            made = start + (elapsed + 1) * 1000 - wait
            # Messages made before the reading began waited in the socket, not in the program.
            if made < began:
                continue
            latencies.append(at - made)
            per_tick.setdefault(elapsed, []).append(latencies[-1])
    post('/api/end')
    cpu0, mem0 = statistics.median(c for c, _ in none), statistics.median(m for _, m in none)
    cpu1, mem1 = statistics.median(c for c, _ in many), statistics.median(m for _, m in many)
    latencies.sort()
    p = lambda q: latencies[min(len(latencies) - 1, int(q * len(latencies)))]
    print(f'rounds {rounds} x {seconds:.0f} s, medians')
    print(f'no clients:        CPU {cpu0:5.2f} % of a core, RSS {mem0:6.1f} MB')
    print(f'{clients} view clients:  CPU {cpu1:5.2f} % of a core, RSS {mem1:6.1f} MB')
    print(f'difference:        CPU {cpu1 - cpu0:+5.2f} points, RSS {mem1 - mem0:+6.1f} MB,'
          f' CPU ratio {cpu1 / cpu0 if cpu0 else float("nan"):.2f}')
    print(f'tick to client ({len(latencies)} messages): median {p(0.5):.1f} ms,'
          f' p99 {p(0.99):.1f} ms, max {latencies[-1]:.1f} ms'
          f' (at most {round_trip:.1f} ms too high)')
    # One reader for all clients: the first client of each tick shows the program's delay
    # alone, the spread to the last one includes this reader's turn through the sockets.
    firsts = sorted(min(v) for v in per_tick.values())
    spreads = sorted(max(v) - min(v) for v in per_tick.values())
    q = lambda values, f: values[min(len(values) - 1, int(f * len(values)))]
    print(f'first client of each tick ({len(firsts)} ticks): median {q(firsts, 0.5):.1f} ms,'
          f' p99 {q(firsts, 0.99):.1f} ms; spread to the last client: median'
          f' {q(spreads, 0.5):.1f} ms, p99 {q(spreads, 0.99):.1f} ms')
    low = latencies[0]
    print(f'above the fastest message: median {p(0.5) - low:.1f} ms, p99 {p(0.99) - low:.1f} ms')

main()
