#!/usr/bin/env python3
"""Load on the class view: N WebSocket clients follow a running server.

  bench/class_view_load.py [--clients 40] [--seconds 60] [--idle 10] [--stuck 0]
                           [-- SERVER COMMAND ...]

Starts the server command (by default build/bench/class_view_server on a free
port; the program with --class-view 127.0.0.1:PORT works the same way), waits
for its line `class-view http://127.0.0.1:PORT/?k=TOKEN`, measures its CPU for
--idle seconds without clients, then connects the clients (and --stuck more that
never read) for --seconds and reports:

  - the share of updates that arrived within 150 ms of their `t`, and the
    latency's median, 95th percentile and maximum;
  - updates a second per client;
  - losses of the clients that read: messages every other such client got in
    the time it was connected, and points of the record it did not get;
  - the server's CPU (percent of one core) without clients and with them;
  - how many of the clients that never read the server dropped.

Only loopback addresses; every loop is bounded in time. The standard library
only: the WebSocket client here is the smallest that reads a server's frames.
"""
import argparse
import base64
import json
import os
import re
import selectors
import socket
import struct
import subprocess
import sys
import time
from urllib.parse import urlsplit

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_SERVER = os.path.join(HERE, '..', 'build', 'bench', 'class_view_server')
ON_TIME_MS = 150


class Client:
    """One page's connection: the handshake, then server frames (unmasked)."""

    def __init__(self, host, port, target, reads=True):
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        if not reads:
            # A phone that stopped reading: the system buffers little for it.
            self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        self.sock.settimeout(5)
        self.sock.connect((host, port))
        key = base64.b64encode(os.urandom(16))
        self.sock.sendall(b'GET ' + target.encode() + b' HTTP/1.1\r\nHost: ' + host.encode() +
                          b'\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: ' + key +
                          b'\r\nSec-WebSocket-Version: 13\r\n\r\n')
        head = b''
        while b'\r\n\r\n' not in head:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise RuntimeError('the server closed the handshake')
            head += chunk
        head, _, rest = head.partition(b'\r\n\r\n')
        if not head.startswith(b'HTTP/1.1 101'):
            raise RuntimeError('handshake refused: ' + head.split(b'\r\n')[0].decode())
        self.sock.setblocking(False)
        self.buf = bytearray(rest)
        self.parts = []
        self.closed = False
        self.times = []        # t of each message
        self.latencies = []    # ms from t to arrival
        self.rows = 0          # points of the record as this client has them
        self.points = 0        # the record's points as the server counts them
        self.joined = time.time() * 1000
        self.left = None

    def take(self, now_ms):
        try:
            data = self.sock.recv(1 << 20)
        except BlockingIOError:
            return
        except OSError:
            data = b''
        if not data:
            self.closed = True
            self.left = now_ms
            return
        self.buf += data
        for message in self.frames():
            self.handle(message, now_ms)

    def frames(self):
        buf = self.buf
        while len(buf) >= 2:
            fin, op, n = buf[0] & 0x80, buf[0] & 0x0F, buf[1] & 0x7F
            at = 2
            if n == 126:
                if len(buf) < 4:
                    break
                n, at = struct.unpack('>H', buf[2:4])[0], 4
            elif n == 127:
                if len(buf) < 10:
                    break
                n, at = struct.unpack('>Q', buf[2:10])[0], 10
            if len(buf) < at + n:
                break
            payload = bytes(buf[at:at + n])
            del buf[:at + n]
            if op == 8:
                self.closed = True
                return
            if op in (0, 1, 2):
                self.parts.append(payload)
                if fin:
                    message = b''.join(self.parts)
                    self.parts = []
                    yield message

    def handle(self, message, now_ms):
        m = json.loads(message)
        self.times.append(m['t'])
        self.latencies.append(now_ms - m['t'])
        for change in m.get('record', []):
            kind = change['Change']
            if kind == 'Reset':
                self.rows = len(change['Rows'])
            elif kind == 'Added':
                self.rows += 1
            elif kind == 'Removed':
                self.rows -= 1
            elif kind == 'Cleared':
                self.rows = 0
        self.points = m.get('lab', {}).get('Points', self.rows)


def closed_by_server(sock):
    """Whether the server has closed a connection (reading what came before)."""
    sock.setblocking(False)
    try:
        while True:
            if not sock.recv(1 << 20):
                return True
    except BlockingIOError:
        return False
    except OSError:
        return True


def cpu_seconds(pid):
    with open('/proc/%d/stat' % pid) as f:
        fields = f.read().rsplit(')', 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf('SC_CLK_TCK')


def cpu_over(pid, seconds, during=None):
    start_cpu, start = cpu_seconds(pid), time.time()
    while time.time() - start < seconds:
        if during:
            during()
        else:
            time.sleep(0.05)
    return 100.0 * (cpu_seconds(pid) - start_cpu) / (time.time() - start)


def percentile(values, p):
    if not values:
        return float('nan')
    values = sorted(values)
    return values[min(len(values) - 1, int(round(p / 100.0 * (len(values) - 1))))]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--clients', type=int, default=40)
    parser.add_argument('--seconds', type=float, default=60)
    parser.add_argument('--idle', type=float, default=10, help='seconds of CPU without clients')
    parser.add_argument('--stuck', type=int, default=0, help='clients more that never read')
    parser.add_argument('server', nargs='*', help='the server command (after --)')
    args = parser.parse_args()
    total = args.idle + args.seconds + 20
    command = args.server or [DEFAULT_SERVER, '--seconds', str(int(total))]

    server = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
    try:
        deadline = time.time() + 30
        link = None
        while time.time() < deadline and link is None:
            line = server.stdout.readline()
            if not line:
                break
            found = re.match(r'class-view (http://\S+)', line)
            if found:
                link = found.group(1)
        if link is None:
            sys.exit('no class-view line from the server')
        url = urlsplit(link)
        if url.hostname not in ('127.0.0.1', 'localhost', '::1'):
            sys.exit('only a server on this computer: ' + link)
        target = '/live?' + url.query

        time.sleep(1)
        idle_cpu = cpu_over(server.pid, args.idle)

        selector = selectors.DefaultSelector()
        clients = [Client(url.hostname, url.port, target) for _ in range(args.clients)]
        stuck = [Client(url.hostname, url.port, target, reads=False) for _ in range(args.stuck)]
        for c in clients:
            selector.register(c.sock, selectors.EVENT_READ, c)

        def pump():
            for key, _ in selector.select(timeout=0.05):
                c = key.data
                c.take(time.time() * 1000)
                if c.closed:
                    selector.unregister(c.sock)

        busy_cpu = cpu_over(server.pid, args.seconds, pump)
        end = time.time() * 1000
        for c in clients:
            if c.left is None:
                c.left = end

        readers = [c for c in clients if c.times]
        latencies = [l for c in readers for l in c.latencies[1:]]  # the first has the whole record
        on_time = sum(1 for l in latencies if l <= ON_TIME_MS)
        everyone = set()
        for c in readers:
            everyone.update(c.times)
        lost = 0
        for c in readers:
            mine = set(c.times)
            window = [t for t in everyone if c.joined + 500 <= t <= c.left - 500]
            lost += sum(1 for t in window if t not in mine)
        rows_lost = sum(abs(c.points - c.rows) for c in readers)
        closed = sum(1 for c in clients if c.closed)
        rates = [len(c.times) / ((c.left - c.joined) / 1000.0) for c in readers]

        dropped = sum(1 for c in stuck if closed_by_server(c.sock))
        print('clients: %d reading for %.0f s (%d closed by the server), %d that never read (%d dropped)'
              % (len(clients), args.seconds, closed, len(stuck), dropped))
        print('updates: %d, %.1f a second per client (min %.1f)'
              % (len(latencies), sum(rates) / max(len(rates), 1), min(rates) if rates else 0))
        print('on time: %.2f %% within %d ms of t; latency median %.1f ms, 95th %.1f ms, max %.1f ms'
              % (100.0 * on_time / max(len(latencies), 1), ON_TIME_MS, percentile(latencies, 50),
                 percentile(latencies, 95), max(latencies) if latencies else float('nan')))
        print('lost: %d messages, %d points of the record (clients that read)' % (lost, rows_lost))
        print('server cpu: %.2f %% of one core without clients, %.2f %% with %d (%+.2f)'
              % (idle_cpu, busy_cpu, len(clients), busy_cpu - idle_cpu))
        for c in clients + stuck:
            c.sock.close()
    finally:
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()


if __name__ == '__main__':
    main()
