#!/usr/bin/env python3
"""The students' page in a real browser (Debian's headless Chromium, driven
through its DevTools protocol), against a class view server on 127.0.0.1:

  page_check.py [--screenshot FILE.png] [--current-key CurrentMilliamps] -- COMMAND ...

COMMAND starts the server; `{port}` in it is replaced by a free port. It runs
with XDG_CONFIG_HOME in a folder of its own, so that started again it serves
the same link, and must print `class-view http://127.0.0.1:PORT/?k=TOKEN`.
At 390 x 844 (a phone, portrait) the page must:
  - connect, and show the live current within 0.1 % of /state.json's;
  - draw a graph that grows, and zooms with the wheel and with a pinch;
  - keep every text at a contrast of 4.5 : 1 or more, and fit 360 px across
    and a phone held sideways (844 x 390) without scrolling sideways;
  - download the record's CSV in both dialects, which Python's csv reads;
  - say "Spojení přerušeno, připojuji znovu…" when the server goes, and be
    connected again within 3 s of its start.
Prints what it saw and a closing line "N passed, M failed"; exit code 1 on a failure.
"""
import argparse
import base64
import csv
import io
import json
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request
from urllib.parse import urlsplit

LOST = 'Spojení přerušeno, připojuji znovu…'

# The lowest contrast of any text on the page against what lies behind it
# (WCAG's relative luminance), and the text that has it.
CONTRAST = r'''(() => {
  const rgb = (s) => (s.match(/[\d.]+/g) || []).map(Number);
  const lum = ([r, g, b]) => [r, g, b].map((v) => { v /= 255; return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); })
    .reduce((a, v, i) => a + v * [0.2126, 0.7152, 0.0722][i], 0);
  const behind = (e) => { for (; e; e = e.parentElement) { const c = rgb(getComputedStyle(e).backgroundColor);
    if (c.length === 3 || c[3] > 0) return c.slice(0, 3); } return [255, 255, 255]; };
  let worst = [99, ''];
  for (const e of document.querySelectorAll('body *')) {
    const own = [...e.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim());
    const box = e.getBoundingClientRect();
    if (!own || box.width === 0 || getComputedStyle(e).visibility === 'hidden' || e.closest('.sr-only')) continue;
    const a = lum(rgb(getComputedStyle(e).color)), b = lum(behind(e));
    const ratio = (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
    if (ratio < worst[0]) worst = [ratio, e.textContent.trim().slice(0, 30)];
  }
  return worst;
})()'''
WIDE = 'document.scrollingElement.scrollWidth <= window.innerWidth'


class DevTools:
    """The smallest WebSocket client for the browser's DevTools: masked text out, text in."""

    def __init__(self, url):
        u = urlsplit(url)
        self.sock = socket.create_connection((u.hostname, u.port), timeout=30)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall(('GET %s HTTP/1.1\r\nHost: %s:%d\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n'
                           'Sec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\n\r\n'
                           % (u.path, u.hostname, u.port, key)).encode())
        head = b''
        while b'\r\n\r\n' not in head:
            head += self.sock.recv(4096)
        head, _, self.buf = head.partition(b'\r\n\r\n')
        if not head.startswith(b'HTTP/1.1 101'):
            raise RuntimeError('DevTools refused: %r' % head[:80])
        self.next_id = 0

    def _send(self, text):
        payload, mask = text.encode(), os.urandom(4)
        n = len(payload)
        if n < 126:
            head = struct.pack('>BB', 0x81, 0x80 | n)
        elif n < 65536:
            head = struct.pack('>BBH', 0x81, 0x80 | 126, n)
        else:
            head = struct.pack('>BBQ', 0x81, 0x80 | 127, n)
        self.sock.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))

    def _need(self, n):
        while len(self.buf) < n:
            chunk = self.sock.recv(1 << 20)
            if not chunk:
                raise RuntimeError('DevTools closed')
            self.buf += chunk

    def _receive(self):
        parts = []
        while True:
            self._need(2)
            fin, n, at = self.buf[0] & 0x80, self.buf[1] & 0x7F, 2
            if n == 126:
                self._need(4)
                n, at = struct.unpack('>H', self.buf[2:4])[0], 4
            elif n == 127:
                self._need(10)
                n, at = struct.unpack('>Q', self.buf[2:10])[0], 10
            self._need(at + n)
            parts.append(self.buf[at:at + n])
            self.buf = self.buf[at + n:]
            if fin:
                return json.loads(b''.join(parts))

    def call(self, method, **params):
        self.next_id += 1
        wanted = self.next_id
        self._send(json.dumps({'id': wanted, 'method': method, 'params': params}))
        while True:
            message = self._receive()
            if message.get('id') == wanted:
                if 'error' in message:
                    raise RuntimeError('%s: %s' % (method, message['error']))
                return message.get('result', {})


class Browser:
    def __init__(self, width, height):
        self.profile = tempfile.mkdtemp(prefix='page-check-chromium-')
        port = free_port()
        self.process = subprocess.Popen(
            ['chromium', '--headless', '--no-sandbox', '--disable-gpu', '--hide-scrollbars', '--no-first-run',
             '--remote-debugging-address=127.0.0.1', '--remote-debugging-port=%d' % port,
             '--user-data-dir=' + self.profile, '--window-size=%d,%d' % (width, height), 'about:blank'],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        pages = None
        for _ in range(150):
            try:
                pages = json.load(urllib.request.urlopen('http://127.0.0.1:%d/json' % port, timeout=2))
                break
            except OSError:
                time.sleep(0.1)
        if pages is None:
            raise RuntimeError('Chromium did not start (scripts/deps.sh installs chromium)')
        page = next(p for p in pages if p['type'] == 'page')
        self.tools = DevTools(page['webSocketDebuggerUrl'])
        self.tools.call('Page.enable')
        self.tools.call('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=1,
                        mobile=True)

    def go(self, url):
        self.tools.call('Page.navigate', url=url)

    def value(self, expression):
        result = self.tools.call('Runtime.evaluate', expression=expression, returnByValue=True, awaitPromise=True)
        return result.get('result', {}).get('value')

    def downloads_to(self, folder):
        self.tools.call('Browser.setDownloadBehavior', behavior='allow', downloadPath=folder)

    def screenshot(self, path):
        data = self.tools.call('Page.captureScreenshot', format='png')['data']
        with open(path, 'wb') as f:
            f.write(base64.b64decode(data))

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.profile, ignore_errors=True)


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def until(check, seconds, step=0.05):
    end = time.time() + seconds
    while time.time() < end:
        value = check()
        if value:
            return value
        time.sleep(step)
    return check()


class Server:
    def __init__(self, command, port, config):
        self.command = [part.replace('{port}', str(port)) for part in command]
        self.env = dict(os.environ, XDG_CONFIG_HOME=config)
        self.process = None
        self.link = None

    def start(self):
        self.process = subprocess.Popen(self.command, stdout=subprocess.PIPE, text=True, env=self.env)
        deadline = time.time() + 60
        while time.time() < deadline:
            line = self.process.stdout.readline()
            if not line:
                break
            found = re.match(r'class-view (http://127\.0\.0\.1:\d+/\?k=\S+)', line)
            if found:
                self.link = found.group(1)
                return time.time()
        raise RuntimeError('the server printed no class-view line: %s' % ' '.join(self.command))

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=20)

    def get(self, resource):
        url = urlsplit(self.link)
        with urllib.request.urlopen('http://%s%s?%s' % (url.netloc, resource, url.query), timeout=5) as r:
            return r.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--screenshot')
    parser.add_argument('--current-key', default='CurrentMilliamps')
    parser.add_argument('command', nargs='+')
    args = parser.parse_args()

    results = []

    def check(name, ok, detail=''):
        results.append(ok)
        print('%s %s%s' % ('ok  ' if ok else 'FAIL', name, (': ' + detail) if detail else ''))

    config = tempfile.mkdtemp(prefix='page-check-config-')
    downloads = tempfile.mkdtemp(prefix='page-check-downloads-')
    server = Server(args.command, free_port(), config)
    browser = None
    try:
        server.start()
        browser = Browser(390, 844)
        browser.downloads_to(downloads)
        browser.go(server.link)
        connected = until(lambda: browser.value("document.getElementById('status').textContent") == 'Připojeno', 10)
        check('connects', connected, browser.value("document.getElementById('status').textContent"))

        key = args.current_key
        until(lambda: browser.value("document.getElementById('value-%s').dataset.value" % key), 5)

        # The page and /state.json read at nearly the same time; a current
        # still settling after the start gets a few more seconds.
        def compare():
            nonlocal state, shown, text
            state = json.loads(server.get('/state.json'))['circuit'][key]
            shown = float(browser.value("document.getElementById('value-%s').dataset.value" % key) or 'nan')
            text = browser.value("document.getElementById('value-%s').textContent" % key)
            return abs(shown - state) <= 0.001 * abs(state)
        state = shown = text = None
        until(compare, 5, step=0.3)
        check('shows the live current', abs(shown - state) <= 0.001 * abs(state),
              '%r (%s) against %s in state.json' % (text, shown, state))

        until(lambda: browser.value('classView.graphRows()') > 0, 5)
        before = browser.value('classView.graphRows()')
        grown = until(lambda: browser.value('classView.graphRows()') > before, 5)
        check('the graph grows', grown, '%s rows, then %s' % (before, browser.value('classView.graphRows()')))

        # Zoom: a turn of the wheel and a pinch, each about the graph's middle.
        box = browser.value("(() => { const r = document.getElementById('graph').getBoundingClientRect();"
                            " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
        browser.value("document.getElementById('graph').scrollIntoView()")
        box = browser.value("(() => { const r = document.getElementById('graph').getBoundingClientRect();"
                            " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
        whole = browser.value('classView.xRange()')
        for _ in range(3):
            browser.tools.call('Input.dispatchMouseEvent', type='mouseWheel', x=box[0], y=box[1], deltaX=0, deltaY=-100)
        wheeled = browser.value('classView.xRange()')
        check('zooms with the wheel', wheeled[1] - wheeled[0] < 0.8 * (whole[1] - whole[0]), '%s -> %s' % (whole, wheeled))
        browser.value("document.getElementById('unzoom').click()")
        whole = browser.value('classView.xRange()')
        # Two fingers on the graph moving apart.
        for kind, spread in (('touchStart', 20), ('touchMove', 40), ('touchMove', 60), ('touchMove', 80),
                             ('touchEnd', 80)):
            points = [] if kind == 'touchEnd' else [{'x': box[0] - spread, 'y': box[1], 'id': 1},
                                                    {'x': box[0] + spread, 'y': box[1], 'id': 2}]
            browser.tools.call('Input.dispatchTouchEvent', type=kind, touchPoints=points)
        pinched = browser.value('classView.xRange()')
        check('zooms with a pinch', pinched[1] - pinched[0] < 0.8 * (whole[1] - whole[0]), '%s -> %s' % (whole, pinched))
        browser.value("document.getElementById('unzoom').click()")
        browser.value('window.scrollTo(0, 0)')

        worst = browser.value(CONTRAST)
        check('contrast of every text 4.5 : 1 or more', worst[0] >= 4.5, '%.2f : 1 at %r' % tuple(worst))
        check('fits 390 px across', browser.value(WIDE))
        for width, height in ((360, 740), (844, 390)):
            browser.tools.call('Emulation.setDeviceMetricsOverride', width=width, height=height, deviceScaleFactor=1,
                               mobile=True)
            time.sleep(0.5)
            check('fits %d x %d' % (width, height), browser.value(WIDE) and browser.value(CONTRAST)[0] >= 4.5,
                  '%s px wide' % browser.value('document.scrollingElement.scrollWidth'))
        browser.tools.call('Emulation.setDeviceMetricsOverride', width=390, height=844, deviceScaleFactor=1,
                           mobile=True)

        for dialect, separator, decimal in (('semicolon', ';', ','), ('comma', ',', '.')):
            for name in os.listdir(downloads):
                os.remove(os.path.join(downloads, name))
            browser.value("document.getElementById('csv-%s').click()" % dialect)
            done = until(lambda: [n for n in os.listdir(downloads) if n.endswith('.csv')], 10)
            rows = []
            if done:
                with open(os.path.join(downloads, done[0]), encoding='utf-8-sig', newline='') as f:
                    rows = list(csv.reader(f, delimiter=separator))
            numbers = rows[1:] and all(float(v.replace(decimal, '.')) >= 0 for v in rows[-1][:3] if v)
            check('downloads the CSV (%s)' % dialect, bool(done) and rows[0][0] == 't (s)' and numbers,
                  '%s, %d rows' % (done[0] if done else 'nothing', len(rows)))

        if args.screenshot:
            browser.screenshot(args.screenshot)

        server.stop()
        said = until(lambda: browser.value("document.getElementById('status').textContent") == LOST, 5)
        check('says the connection dropped', said, browser.value("document.getElementById('status').textContent"))
        started = server.start()
        back = until(lambda: browser.value('classView.connected()') and
                     browser.value("document.getElementById('status').textContent") == 'Připojeno', 5, 0.02)
        took = time.time() - started
        check('reconnects after a restart', back and took <= 3.0, '%.2f s after the server listened' % took)
    finally:
        if browser:
            browser.close()
        server.stop()
        shutil.rmtree(config, ignore_errors=True)
        shutil.rmtree(downloads, ignore_errors=True)

    passed = sum(1 for r in results if r)
    print('%d passed, %d failed' % (passed, len(results) - passed))
    return 0 if passed == len(results) else 1


if __name__ == '__main__':
    sys.exit(main())
