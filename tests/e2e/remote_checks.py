# SPDX-License-Identifier: GPL-3.0-or-later
"""The web remote's API and security rules against the running program, on loopback only.

Usage: remote_checks.py BASE_URL TOKEN TABLE_FILE
Prints one line per case (case | answer | state after) to TABLE_FILE; exits non-zero on the
first case that does not answer as it must.
"""
import asyncio
import json
import socket
import subprocess
import sys
import time

import websockets

base, token, table_path = sys.argv[1], sys.argv[2], sys.argv[3]
host, port = base.split('//')[1].split(':')[0], int(base.rsplit(':', 1)[1])
table = open(table_path, 'w', encoding='utf-8')


def curl(path, *args, source='127.0.0.1'):
    out = subprocess.run(['curl', '-s', '-o', '/dev/stdout', '-w', '\n%{http_code}',
                          '--interface', source, '--max-time', '15', *args, base + path],
                         capture_output=True, text=True, errors='replace').stdout
    body, _, code = out.rpartition('\n')
    return int(code or 0), body


def state():
    return json.loads(curl('/api/state')[1])


def short(s):
    return f"{s['state']} total={s['total']} remaining={s['remaining']} message={s['message']!r}"


def check(case, got, want, after=None):
    after = after if after is not None else short(state())
    table.write(f'| {case} | {got} | {after} |\n')
    table.flush()
    if got != want:
        sys.exit(f'FAIL {case}: answered {got}, expected {want}')


def raw(data, source='127.0.0.1', wait=5):
    """Sends bytes as they are; the status of the answer, or 'closed'."""
    s = socket.create_connection((host, port), source_address=(source, 0))
    s.settimeout(wait)
    try:
        s.sendall(data)
        answer = s.recv(200)
    except (ConnectionResetError, socket.timeout):
        answer = b''
    s.close()
    return int(answer.split()[1]) if answer.startswith(b'HTTP/1.1') else 'closed'


auth = ['-H', 'Authorization: Bearer ' + token]
json_body = ['-H', 'Content-Type: application/json', '--data-binary']

check('GET /view', curl('/view')[0], 200)
check('GET /api/state', curl('/api/state')[0], 200)
check('GET /control without token', curl('/control')[0], 401)
check('GET /control with a wrong token', curl('/control?t=0123')[0], 403)
check('GET /control with the token', curl('/control?t=' + token)[0], 200)
check('GET /api/start (no change through GET)', curl('/api/start', *auth)[0], 405)
check('POST /api/start without token', curl('/api/start', '-X', 'POST')[0], 401)
check('POST /api/start with a wrong token',
      curl('/api/start', '-X', 'POST', '-H', 'Authorization: Bearer ' + '0' * 32)[0], 403)
check('POST /api/pause while idle', curl('/api/pause', '-X', 'POST', *auth)[0], 409)
check('POST /api/nothing', curl('/api/nothing', '-X', 'POST', *auth)[0], 404)
check('POST /api/start?seconds=abc', curl('/api/start?seconds=abc', '-X', 'POST', *auth)[0], 400)
check('POST /api/start malformed JSON', curl('/api/start', *auth, *json_body, '{"seconds":')[0], 400)
check('POST /api/start seconds 1e12', curl('/api/start', *auth, *json_body, '{"seconds":1e12}')[0], 400)
check('POST /api/message text not UTF-8',
      curl('/api/message?text=%ff%fe', '-X', 'POST', *auth)[0], 400)
check('POST /api/start?seconds=300', curl('/api/start?seconds=300', '-X', 'POST', *auth)[0], 200)
s = state()
assert s['state'] == 'running' and s['total'] == 300, s
check('POST /api/start while running', curl('/api/start', '-X', 'POST', *auth)[0], 409)
check('POST /api/add {"seconds":60}', curl('/api/add', *auth, *json_body, '{"seconds":60}')[0], 200)
assert state()['total'] == 360
check('POST /api/add {"seconds":-60}', curl('/api/add', *auth, *json_body, '{"seconds":-60}')[0], 200)
check('POST /api/message', curl('/api/message', *auth, *json_body, '{"text":"请安静"}')[0], 200)
assert state()['message'] == '请安静'
check('POST /api/pause', curl('/api/pause', '-X', 'POST', *auth)[0], 200)
check('POST /api/resume', curl('/api/resume', '-X', 'POST', *auth)[0], 200)

# Sizes and malformed requests.
check('body of 9000 bytes', curl('/api/message', *auth, *json_body, '{"text":"' + 'a' * 9000 + '"}')[0], 413)
check('request line over 8 KB', raw(b'GET /view?' + b'a' * 9000 + b' HTTP/1.1\r\n\r\n'), 414)
check('headers over 8 KB', raw(b'GET /view HTTP/1.1\r\n' + b'X-A: ' + b'a' * 9000 + b'\r\n\r\n'), 431)
check('chunked body', raw(b'POST /api/end HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n'), 501)
check('HTTP/2.0 request line', raw(b'GET /view HTTP/2.0\r\n\r\n'), 505)
check('garbage', raw(b'\x00\xff hello\r\n\r\n'), 400)
check('WebSocket from another origin',
      curl('/ws', '-H', 'Connection: Upgrade', '-H', 'Upgrade: websocket', '-H', 'Origin: http://evil.example',
           '-H', 'Sec-WebSocket-Version: 13', '-H', 'Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==')[0], 403)


async def web_sockets():
    ws_base = base.replace('http', 'ws') + '/ws'
    async with websockets.connect(ws_base) as view:
        first = json.loads(await view.recv())
        check('WebSocket view: first message is the state', first['state'], 'running')
        await view.send(json.dumps({'cmd': 'pause'}))
        while 'status' not in (reply := json.loads(await view.recv())):
            pass
        check('WebSocket view: a command', reply['status'], 401)
    async with websockets.connect(ws_base + '?t=' + token, max_size=None) as ctl:
        await ctl.recv()
        await ctl.send('{"cmd":')
        while 'status' not in (reply := json.loads(await ctl.recv())):
            pass
        check('WebSocket control: malformed JSON', reply['status'], 400)
        await ctl.send(json.dumps({'cmd': 'pause'}))
        while 'status' not in (reply := json.loads(await ctl.recv())):
            pass
        check('WebSocket control: pause', reply['status'], 200)
        await ctl.send(json.dumps({'cmd': 'resume'}))
    for case, payload, code in (('WebSocket message over 8 KB', 'x' * 9000, 1009),
                                ('WebSocket text not UTF-8', b'\xff\xfe', 1007)):
        async with websockets.connect(ws_base + '?t=' + token) as ws:
            await ws.recv()
            if isinstance(payload, bytes):
                # A text frame with bytes that are not UTF-8, written by hand.
                await ws.write_frame(True, websockets.frames.OP_TEXT, payload) \
                    if hasattr(ws, 'write_frame') else await ws.send(payload.decode('latin-1'))
            else:
                await ws.send(payload)
            try:
                while True:
                    await asyncio.wait_for(ws.recv(), 5)
            except websockets.ConnectionClosed as closed:
                check(case, closed.code if closed.rcvd is None else closed.rcvd.code, code)
    try:
        async with websockets.connect(ws_base + '?t=' + '1' * 32):
            got = 101
    except websockets.InvalidStatusCode as refused:
        got = refused.status_code
    check('WebSocket with a wrong token', got, 403)

asyncio.run(web_sockets())

# A client that sends half a request is closed after 10 s.
s = socket.create_connection((host, port))
s.sendall(b'GET /view HTTP/1.1\r\n')
start = time.monotonic()
s.settimeout(20)
closed = s.recv(10) == b''
check('half a request, then silence', f'closed after {time.monotonic() - start:.1f} s' if closed else 'open',
      f'closed after {time.monotonic() - start:.1f} s')
s.close()

# 300 connections at once: at most 200 are kept, and the server answers afterwards.
sockets = []
for _ in range(300):
    c = socket.create_connection((host, port))
    sockets.append(c)


def still_open():
    count = 0
    for c in sockets:
        c.setblocking(False)
        try:
            count += c.recv(1) != b''
        except BlockingIOError:
            count += 1
        except ConnectionResetError:
            pass
    return count


# The server takes them from its queue and closes those over its limit.
deadline = time.monotonic() + 10
kept = still_open()
while kept > 200 and time.monotonic() < deadline:
    time.sleep(0.05)
    kept = still_open()
for c in sockets:
    c.close()
check('300 connections at once', f'{kept} kept', f'{kept} kept' if kept <= 200 else 'too many')
# Their places come free as the server sees them closed.
deadline = time.monotonic() + 10
answer = curl('/api/state')[0]
while answer != 200 and time.monotonic() < deadline:
    time.sleep(0.05)
    answer = curl('/api/state')[0]
check('a request after them', answer, 200)

# Ten wrong tokens from one address (127.0.0.2): that address is refused, even with the
# right token; others are not.
for _ in range(10):
    curl('/api/end', '-X', 'POST', '-H', 'Authorization: Bearer bad', source='127.0.0.2')
check('11th request after 10 wrong tokens', curl('/api/end', '-X', 'POST', *auth, source='127.0.0.2')[0], 429)
check('another address meanwhile', curl('/api/state')[0], 200)
check('state unchanged by it all', state()['state'], 'running')
