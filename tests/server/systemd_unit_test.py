#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The server's systemd unit: `systemd-analyze verify` finds nothing, `systemd-analyze security`
# rates its exposure at most 1.0, and every system call the server makes while it serves a page
# and takes an upload (traced with strace, as an unprivileged user) passes its SystemCallFilter.
# Usage: systemd_unit_test.py UNIT VORLANIX_BESTENLISTE UPLOAD.qhs
import grp
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import urllib.request
import uuid

unit, binary, upload = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
for tool in ("systemd-analyze", "strace"):
    if shutil.which(tool) is None:
        print(f"skipped: {tool} is not installed")
        sys.exit(77)

work = tempfile.mkdtemp(prefix="vorlanix-unit-")
server = None
try:
    # The unit as installed names /usr/bin; verify checks that the program exists.
    text = open(unit).read()
    tested = os.path.join(work, os.path.basename(unit))
    with open(tested, "w") as f:
        f.write(text.replace("/usr/bin/vorlanix-bestenliste", binary))
    verify = subprocess.run(["systemd-analyze", "verify", tested], capture_output=True, text=True)
    assert verify.returncode == 0 and not verify.stderr.strip(), verify.stderr
    security = subprocess.run(["systemd-analyze", "security", "--offline=true", "--threshold=10", tested],
                              capture_output=True, text=True)
    exposure = float(re.search(r"Overall exposure level for \S+: ([0-9.]+)", security.stdout).group(1))
    print(f"systemd-analyze security: exposure {exposure}")
    assert exposure <= 1.0, security.stdout

    # The system calls the filter lets through: its groups expanded, the denied ones taken away.
    listing = subprocess.run(["systemd-analyze", "syscall-filter"], capture_output=True, text=True).stdout
    groups, current = {}, None
    for line in listing.splitlines():
        if line.startswith("@"):
            current = groups.setdefault(line.split()[0], [])
        elif current is not None and line.strip() and not line.strip().startswith("#"):
            current.append(line.strip())

    def expand(names):
        calls = set()
        for name in names:
            calls |= expand(groups[name]) if name.startswith("@") else {name}
        return calls

    allowed = set()
    for value in re.findall(r"^SystemCallFilter=(.*)$", text, re.M):
        if value.startswith("~"):
            allowed -= expand(value[1:].split())
        else:
            allowed |= expand(value.split())
    assert allowed, "the unit has no SystemCallFilter"

    # A sanitizer's runtime makes calls of its own that a packaged server never makes.
    if b"AddressSanitizer" in open(binary, "rb").read():
        print(f"systemd-analyze verify clean, exposure {exposure}; the system-call trace needs a build "
              "without sanitizers")
        sys.exit(0)

    # Serve as the unit does (as an unprivileged user, on loopback), under strace.
    as_root = os.geteuid() == 0
    prefix = []
    if as_root:
        uid, gid = pwd.getpwnam("nobody").pw_uid, grp.getgrnam("nogroup").gr_gid
        os.chown(work, uid, gid)
        prefix = ["setpriv", f"--reuid={uid}", f"--regid={gid}", "--clear-groups", "--"]
    trace = os.path.join(work, "trace")
    server = subprocess.Popen(["strace", "-f", "-qq", "-o", trace] + prefix +
                              [binary, "serve", "--listen", "127.0.0.1:0", "--behind-proxy", "--access-log", "-",
                               "--data-dir", os.path.join(work, "data")], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)
    port = int(re.search(r":(\d+)/", server.stdout.readline()).group(1))
    base = f"http://127.0.0.1:{port}"
    assert urllib.request.urlopen(base + "/", timeout=10).status == 200
    boundary = uuid.uuid4().hex
    body = (f"--{boundary}\r\nContent-Disposition: form-data; name=\"qhs\"; filename=\"a.qhs\"\r\n"
            "Content-Type: application/octet-stream\r\n\r\n").encode() + open(upload, "rb").read() + \
        f"\r\n--{boundary}--\r\n".encode()
    request = urllib.request.Request(base + "/api/upload", data=body, method="POST",
                                     headers={"Content-Type": f"multipart/form-data; boundary={boundary}"})
    assert urllib.request.urlopen(request, timeout=10).status // 100 == 2
    assert b"vorlanix_uploads_total" in urllib.request.urlopen(base + "/metrics", timeout=10).read()
    # The server is strace's only child (setpriv executes it in place); it stops on SIGTERM.
    child = int(open(f"/proc/{server.pid}/task/{server.pid}/children").read().split()[0])
    os.kill(child, signal.SIGTERM)
    assert server.wait(timeout=20) == 0
    # The access log went to the journal (standard error), one line per request, without the address.
    access = server.stderr.read()
    assert " GET / 200 " in access and " POST /api/upload 201 " in access and "127.0.0.1" not in access, access
    server = None

    used, started = set(), False
    for line in open(trace):
        # What setpriv does before it becomes the server is the service manager's part.
        started = started or f'execve("{binary}"' in line
        if not started:
            continue
        match = re.match(r"\d+\s+(?:<\.\.\. )?([a-z0-9_]+)[( ]", line)
        if match and not line.split()[1].startswith("+++") and not line.split()[1].startswith("---"):
            used.add(match.group(1))
    missing = sorted(used - allowed)
    assert not missing, f"system calls the unit's filter refuses: {missing}"
    print(f"{len(used)} system calls, all allowed by the unit")
finally:
    if server is not None:
        server.kill()
        server.wait()
    shutil.rmtree(work, ignore_errors=True)
