#!/usr/bin/env python3
"""Hostile requests against chenggu serve, on the loopback only, each bounded in size and
time: the time each takes to be answered and the server's resident memory after it and at
its peak (VmRSS, VmHWM).

    bench/hostile.py [CHENGGU]     (default build/native/cli/chenggu)
"""
import json
import re
import socket
import subprocess
import sys
import time
import urllib.error
import urllib.request

chenggu = sys.argv[1] if len(sys.argv) > 1 else "build/native/cli/chenggu"
server = subprocess.Popen([chenggu, "serve", "--port", "0", "--quiet"], stderr=subprocess.PIPE, text=True)
port = int(re.search(r":(\d+)/", server.stderr.readline()).group(1))
base = f"http://127.0.0.1:{port}"


def memory():
    status = open(f"/proc/{server.pid}/status").read()
    return [int(re.search(rf"{name}:\s+(\d+)", status).group(1)) // 1024 for name in ("VmRSS", "VmHWM")]


def post(route, body, headers=None):
    request = urllib.request.Request(base + route, data=body, headers=headers or {})
    try:
        with urllib.request.urlopen(request, timeout=60) as answer:
            return answer.status, answer.read()
    except urllib.error.HTTPError as error:
        return error.code, error.read()


def endless_chunk_line():
    with socket.create_connection(("127.0.0.1", port)) as s:
        s.sendall(b"POST /v1/reading HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n1;")
        try:
            for _ in range(1024):  # up to 1 GiB
                s.sendall(b"a" * (1 << 20))
        except OSError:
            pass
        s.settimeout(5)
        head = s.recv(64)
        return int(head.split()[1]), head


def deep(depth):
    return ('{"jsonrpc":"2.0","id":' + "[" * depth + "]" * depth + ',"method":"ping"}').encode()


cases = [
    ("MCP message nested 50,000 deep", lambda: post("/mcp", deep(50000), {"Content-Type": "application/json"})),
    ("chunk extension of up to 1 GiB", endless_chunk_line),
    ("unknown place of 100,000 characters", lambda: post("/v1/reading", json.dumps(
        {"date": "1990-01-30", "period": "12:00", "place": "哈" * 100000}).encode())),
    ("unknown zone of 100,000 characters", lambda: post("/v1/reading", json.dumps(
        {"date": "1990-01-30", "period": "12:00", "longitude": 104, "zone": "z" * 100000}).encode())),
    ("batch line of 64 MiB of control characters", lambda: post("/v1/readings", b"\x01" * (64 << 20))),
    ("3 MB body sent whole before reading", lambda: post("/v1/reading", b"x" * 3000000)),
]
print(f"{'request':45} {'status':>6} {'answer':>8} {'ms':>8} {'RSS MB':>7} {'peak MB':>8}")
print(f"{'(a new server)':45} {'':>6} {'':>8} {'':>8} {memory()[0]:>7} {memory()[1]:>8}")
for name, run in cases:
    started = time.perf_counter()
    status, body = run()
    elapsed = (time.perf_counter() - started) * 1000
    rss, peak = memory()
    print(f"{name:45} {status:>6} {len(body):>8} {elapsed:>8.1f} {rss:>7} {peak:>8}")
server.terminate()
server.wait()
