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
import asyncio
import json
import os
import statistics
import sys
import time
import urllib.request

import websockets

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


async def measure(length):
    c0, t0 = cpu_seconds(), time.monotonic()
    await asyncio.sleep(length)
    return 100 * (cpu_seconds() - c0) / (time.monotonic() - t0), rss_mb()


async def reader(ws, arrivals):
    async for text in ws:
        if '"display"' in text:
            state = json.loads(text)
            if 'next' in state:
                arrivals.append((boot_ms(), state['elapsed'], state['next']))


async def main():
    try:
        post('/api/end')
    except Exception:
        pass
    start = boot_ms()
    post('/api/start?seconds=3600')
    round_trip = boot_ms() - start
    none, many, latencies = [], [], []
    ws_url = base.replace('http', 'ws') + '/ws'
    for _ in range(rounds):
        await asyncio.sleep(1)
        none.append(await measure(seconds))
        sockets = [await websockets.connect(ws_url) for _ in range(clients)]
        arrivals = [[] for _ in sockets]
        tasks = [asyncio.create_task(reader(ws, a)) for ws, a in zip(sockets, arrivals)]
        await asyncio.sleep(1)
        many.append(await measure(seconds))
        for ws in sockets:
            await ws.close()
        for task in tasks:
            task.cancel()
        for a in arrivals:
            for at, elapsed, wait in a[1:]:  # the first is the state on connecting
                latencies.append(at - (start + (elapsed + 1) * 1000 - wait))
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
    low = latencies[0]
    print(f'above the fastest message: median {p(0.5) - low:.1f} ms, p99 {p(0.99) - low:.1f} ms')

asyncio.run(main())
