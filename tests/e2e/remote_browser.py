# SPDX-License-Identifier: GPL-3.0-or-later
"""The view and control pages in a real browser (Chromium headless, driven over the DevTools
protocol), against the running program on loopback.

Usage: remote_browser.py BASE_URL TOKEN PROFILE_DIR [SCREENSHOT_DIR]
"""
import asyncio
import base64
import json
import os
import subprocess
import sys
import time
import urllib.request

import websockets

base, token, profile = sys.argv[1], sys.argv[2], sys.argv[3]
shots = sys.argv[4] if len(sys.argv) > 4 else None


def api(path, method='GET'):
    request = urllib.request.Request(base + path, method=method,
                                     headers={'Authorization': 'Bearer ' + token})
    with urllib.request.urlopen(request, timeout=10) as answer:
        return json.loads(answer.read())


def fail(text):
    sys.exit('FAIL: ' + text)


browser = subprocess.Popen(
    ['chromium', '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
     '--disable-background-networking', '--disable-component-update', '--disable-sync',
     '--user-data-dir=' + profile, '--remote-debugging-address=127.0.0.1',
     '--remote-debugging-port=0', '--window-size=1280,800', 'about:blank'],
    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class Page:
    def __init__(self, ws):
        self.ws, self.next_id = ws, 0

    async def call(self, method, **params):
        self.next_id += 1
        await self.ws.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            answer = json.loads(await self.ws.recv())
            if answer.get('id') == self.next_id:
                if 'error' in answer:
                    raise RuntimeError(answer['error'])
                return answer.get('result', {})

    async def eval(self, expression):
        result = await self.call('Runtime.evaluate', expression=expression, awaitPromise=True,
                                 returnByValue=True)
        return result['result'].get('value')

    async def wait(self, expression, seconds=10):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if await self.eval(expression):
                return True
            await asyncio.sleep(0.05)
        return False

    async def open(self, url):
        await self.call('Page.navigate', url=url)
        if not await self.wait("document.readyState === 'complete' && !!document.getElementById('digits')"):
            fail('page did not load: ' + url)

    async def shot(self, name, width, height, scale, mobile):
        await self.call('Emulation.setDeviceMetricsOverride', width=width, height=height,
                        deviceScaleFactor=scale, mobile=mobile)
        # Two frames after the resize: laid out and painted at the new size.
        await self.eval('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))')
        data = (await self.call('Page.captureScreenshot', format='png'))['data']
        with open(os.path.join(shots, name), 'wb') as f:
            f.write(base64.b64decode(data))


async def main():
    port_file = os.path.join(profile, 'DevToolsActivePort')
    for _ in range(200):
        if os.path.exists(port_file) and open(port_file).read().strip():
            break
        await asyncio.sleep(0.1)
    devtools = open(port_file).read().split()[0]
    targets = json.loads(urllib.request.urlopen(f'http://127.0.0.1:{devtools}/json/list').read())
    target = next(t for t in targets if t['type'] == 'page')
    async with websockets.connect(target['webSocketDebuggerUrl'], max_size=None) as ws:
        page = Page(ws)
        await page.call('Page.enable')

        # The view page shows the window's digits at the same tick.
        api('/api/start?seconds=600', 'POST')
        await page.open(base + '/view')
        if not await page.wait("document.getElementById('digits').textContent !== '00:00:00'"):
            fail('the view page does not count')
        same = 0
        for _ in range(20):
            before = api('/api/state')['display']
            shown = await page.eval("document.getElementById('digits').textContent")
            after = api('/api/state')['display']
            if shown not in (before, after):
                fail(f'view page shows {shown}, the window {before} / {after}')
            same += 1
            await asyncio.sleep(0.13)
        print(f'view page: {same} samples equal to the window')

        if shots:
            await page.shot('view-phone.png', 390, 844, 3, True)
            await page.shot('view-phone-sideways.png', 844, 390, 3, True)
            await page.shot('view-tv.png', 1920, 1080, 1, False)
            await page.call('Emulation.clearDeviceMetricsOverride')

        # The control page's pause pauses the program; its message reaches the window.
        await page.open(base + '/control?t=' + token)
        await page.wait("!document.querySelector('[data-cmd=pause]').disabled")
        await page.eval("document.querySelector('[data-cmd=pause]').click()")
        for _ in range(100):
            if api('/api/state')['state'] == 'paused':
                break
            await asyncio.sleep(0.05)
        else:
            fail('the control page\'s pause did not pause the program')
        print('control page: pause paused the program')
        await page.eval("document.getElementById('text').value = 'BREAK UNTIL 10'")
        await page.eval("document.getElementById('send').click()")
        for _ in range(100):
            if api('/api/state')['message'] == 'BREAK UNTIL 10':
                break
            await asyncio.sleep(0.05)
        else:
            fail('the message did not arrive')
        if not await page.wait("document.getElementById('message').textContent === 'BREAK UNTIL 10'"):
            fail('the control page does not show the message')
        if shots:
            await page.shot('control-phone.png', 390, 844, 3, True)
        print('control page: message sent')

try:
    asyncio.run(main())
finally:
    browser.terminate()
    browser.wait(10)
