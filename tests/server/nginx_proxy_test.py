#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# nginx from Debian in front of the server, with the site example of packaging/nginx: a private
# nginx (its own prefix, configuration and free loopback port) proxies to a server on another.
# Pages and uploads pass; stalled and oversized requests stay at nginx and never hold the server.
# Usage: nginx_proxy_test.py SITE.conf VORLANIX_BESTENLISTE UPLOAD.qhs
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request
import uuid

site, binary, upload = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
NGINX = shutil.which("nginx") or "/usr/sbin/nginx"
if not os.path.exists(NGINX):
    print("skipped: nginx is not installed (apt install nginx)")
    sys.exit(77)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def raw(port, data):
    s = socket.create_connection(("127.0.0.1", port), timeout=10)
    s.sendall(data)
    return s


def status_of(sock):
    answer = sock.recv(4096)
    return int(answer.split()[1]) if answer else None


def timed_get(url):
    start = time.monotonic()
    with urllib.request.urlopen(url, timeout=10) as response:
        assert response.status == 200
        response.read()
    return time.monotonic() - start


work = tempfile.mkdtemp(prefix="vorlanix-nginx-")
server = nginx = None
held = []
try:
    server = subprocess.Popen([binary, "serve", "--listen", "127.0.0.1:0", "--behind-proxy", "--rate-limit", "0",
                               "--data-dir", os.path.join(work, "data")], stdout=subprocess.PIPE, text=True)
    server_port = int(re.search(r":(\d+)/", server.stdout.readline()).group(1))

    # The example as an operator installs it, on test ports; its 10 s timeouts shortened to 1 s so
    # that the test sees them act.
    port = free_port()
    text = open(site).read()
    text = text.replace("server 127.0.0.1:8080;", f"server 127.0.0.1:{server_port};")
    text = text.replace("listen [::]:80;\n", "").replace("listen 80;", f"listen 127.0.0.1:{port};")
    text = text.replace("client_header_timeout 10s;", "client_header_timeout 1s;")
    text = text.replace("client_body_timeout 10s;", "client_body_timeout 1s;")
    assert f"127.0.0.1:{port}" in text and f":{server_port};" in text and "timeout 1s" in text, text
    with open(os.path.join(work, "site.conf"), "w") as f:
        f.write(text)
    user = "user nobody nogroup;\n" if os.geteuid() == 0 else ""
    with open(os.path.join(work, "nginx.conf"), "w") as f:
        f.write(f"""{user}daemon off;
worker_processes 1;
pid {work}/nginx.pid;
error_log {work}/error.log warn;
events {{ worker_connections 512; }}
http {{
    access_log off;
    client_body_temp_path {work}/body;
    proxy_temp_path {work}/proxy;
    fastcgi_temp_path {work}/fastcgi;
    uwsgi_temp_path {work}/uwsgi;
    scgi_temp_path {work}/scgi;
    include {work}/site.conf;
}}
""")
    os.chmod(work, 0o755)
    nginx = subprocess.Popen([NGINX, "-p", work, "-c", os.path.join(work, "nginx.conf"), "-e",
                              os.path.join(work, "error.log")])
    deadline = time.time() + 10
    while True:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            break
        except OSError:
            assert time.time() < deadline and nginx.poll() is None, open(os.path.join(work, "error.log")).read()
            time.sleep(0.05)
    base = f"http://127.0.0.1:{port}"

    # A page and an upload pass through.
    page = urllib.request.urlopen(base + "/", timeout=10).read().decode()
    assert "Bestenliste" in page, page
    # The metrics are for the operator, who asks the server itself.
    try:
        urllib.request.urlopen(base + "/metrics", timeout=10)
        assert False, "/metrics is served to the world"
    except urllib.error.HTTPError as refused:
        assert refused.code == 404, refused.code
    boundary = uuid.uuid4().hex
    body = (f"--{boundary}\r\nContent-Disposition: form-data; name=\"qhs\"; filename=\"a.qhs\"\r\n"
            "Content-Type: application/octet-stream\r\n\r\n").encode() + open(upload, "rb").read() + \
        f"\r\n--{boundary}--\r\n".encode()
    request = urllib.request.Request(base + "/api/upload", data=body, method="POST",
                                     headers={"Content-Type": f"multipart/form-data; boundary={boundary}"})
    with urllib.request.urlopen(request, timeout=10) as response:
        assert response.status // 100 == 2, response.status
    listed = json.loads(urllib.request.urlopen(base + "/api/list?list=unproved", timeout=10).read())
    assert "Max" in json.dumps(listed), listed

    # Bodies larger than the server takes, and ambiguous framing, are refused by nginx at once.
    too_large = raw(port, b"POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Type: application/octet-stream\r\n"
                          b"Content-Length: 2000000\r\n\r\n")
    assert status_of(too_large) == 413
    # A client that sends its oversized body anyway still reads the answer, not a reset.
    eager = raw(port, b"POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 2000000\r\n\r\n" + bytes(2000000))
    assert status_of(eager) == 413
    both = raw(port, b"POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 332\r\n"
                     b"Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n")
    assert status_of(both) == 400

    # Clients stalled in their headers or their bodies: a page still comes at once.
    for k in range(24):
        held.append(raw(port, b"GET / HTTP/1.1\r\nHost: x\r\n"))
    for k in range(8):
        held.append(raw(port, b"POST /api/upload HTTP/1.1\r\nHost: x\r\nContent-Length: 400\r\n\r\n0123456789"))
    elapsed = timed_get(base + "/")
    assert elapsed < 1.0, f"a page took {elapsed:.2f} s beside stalled clients"
    # nginx drops them after its timeouts (a stalled body is answered 408 first).
    for sock in held:
        sock.settimeout(5)
        start = time.monotonic()
        while sock.recv(4096):
            pass
        assert time.monotonic() - start < 5
    print(f"through nginx: page and upload pass, 413 and 400 at the door, a page in {elapsed * 1000:.0f} ms "
          "beside 32 stalled clients, which nginx drops")
finally:
    for sock in held:
        sock.close()
    for process in (nginx, server):
        if process is not None:
            process.terminate()
            process.wait(timeout=10)
    shutil.rmtree(work, ignore_errors=True)
