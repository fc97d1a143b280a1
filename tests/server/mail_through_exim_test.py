#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Mail intake through a real MTA: a private Exim daemon on a free loopback port (its own
# configuration, spool and mailbox in a temporary directory, run as an unprivileged user) delivers
# to a pipe that runs `receive-mail --reply`; the answer comes back through the same Exim.
# Usage: mail_through_exim_test.py VORLANIX_BESTENLISTE CORPUS_DIR
import email
import email.policy
import grp
import os
import pwd
import shutil
import signal
import smtplib
import socket
import subprocess
import sys
import tempfile
import time
from email.message import EmailMessage

EXIM = "/usr/sbin/exim4"
binary, corpus = os.path.abspath(sys.argv[1]), sys.argv[2]
if not os.path.exists(EXIM):
    print("skipped: exim4 is not installed (apt install exim4-daemon-light)")
    sys.exit(77)

# As root, everything runs as nobody; Exim itself gives up root for a configuration given by -C.
as_root = os.geteuid() == 0
uid, gid = (pwd.getpwnam("nobody").pw_uid, grp.getgrnam("nogroup").gr_gid) if as_root else (os.getuid(), os.getgid())
user, group = pwd.getpwuid(uid).pw_name, grp.getgrgid(gid).gr_name
prefix = ["setpriv", f"--reuid={uid}", f"--regid={gid}", "--clear-groups", "--"] if as_root else []


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, condition, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + what)


def mailbox_messages(path):
    if not os.path.exists(path):
        return []
    with open(path, "rb") as f:
        text = f.read()
    # appendfile writes mbox: each message begins with a "From " line.
    parts = [p for p in text.split(b"\nFrom ") if p.strip()]
    return [email.message_from_bytes(p.split(b"\n", 1)[1], policy=email.policy.default) for p in parts]


def attached(files, sender="spieler@localhost", to="bestenliste@localhost", subject="Mein Ergebnis"):
    m = EmailMessage()
    m["From"], m["To"], m["Subject"] = sender, to, subject
    m.set_content("Hallo, hier ist meine Datei.\n")
    for name, data in files:
        m.add_attachment(data, maintype="application", subtype="octet-stream", filename=name)
    return m.as_bytes()


def corpus_file(name):
    with open(os.path.join(corpus, name), "rb") as f:
        return f.read()


work = tempfile.mkdtemp(prefix="vorlanix-exim-")
daemon_pid = None
try:
    for sub in ("spool", "log", "data", "blocked/list.sqlite"):
        os.makedirs(os.path.join(work, sub))
    mailbox = os.path.join(work, "mailbox")
    sendmail = os.path.join(work, "sendmail")
    config = os.path.join(work, "exim.conf")
    port = free_port()
    receive = f"{binary} receive-mail --reply --sendmail {sendmail} --reply-from bestenliste@localhost"
    with open(config, "w") as f:
        f.write(f"""
primary_hostname = localhost
spool_directory = {work}/spool
log_file_path = {work}/log/%slog
pid_file_path = {work}/exim.pid
daemon_smtp_ports = {port}
local_interfaces = 127.0.0.1
exim_user = {user}
exim_group = {group}
never_users =
keep_environment =
tls_advertise_hosts =
host_lookup =
acl_smtp_rcpt = accept
begin routers
liste:
  driver = accept
  local_parts = bestenliste
  transport = list_pipe
kaputt:
  driver = accept
  local_parts = kaputt
  transport = broken_list_pipe
players:
  driver = accept
  transport = mailbox
begin transports
list_pipe:
  driver = pipe
  command = {receive} --data-dir {work}/data
  return_path_add
  return_fail_output
  timeout = 60s
  user = {user}
broken_list_pipe:
  driver = pipe
  command = {receive} --database sqlite:{work}/blocked/list.sqlite
  return_fail_output
  user = {user}
mailbox:
  driver = appendfile
  file = {mailbox}
  user = {user}
begin retry
*  *  F,1h,10m
""")
    with open(sendmail, "w") as f:
        f.write(f'#!/bin/sh\nexec {EXIM} -C {config} "$@"\n')
    os.chmod(sendmail, 0o755)
    for root, dirs, files in os.walk(work):
        for name in [root] + [os.path.join(root, n) for n in files]:
            os.chown(name, uid, gid)

    subprocess.run(prefix + [EXIM, "-C", config, "-bd", "-q2s"], check=True)
    daemon_pid = int(wait_for("the Exim daemon", lambda: open(f"{work}/exim.pid").read().strip()
                              if os.path.exists(f"{work}/exim.pid") else None))

    def connect():
        try:
            return smtplib.SMTP("127.0.0.1", port, timeout=10)
        except OSError:
            return None

    smtp = wait_for("Exim's SMTP port", connect)
    # 1. An upload file: stored, and the sender is answered in German.
    smtp.sendmail("spieler@localhost", ["bestenliste@localhost"],
                  attached([("Max_32_01_15.qhs", corpus_file("max.qhs"))]))
    # 2. A file with a wrong check sum from someone else: refused, and told why.
    smtp.sendmail("zweiter@localhost", ["bestenliste@localhost"],
                  attached([("Kaputt.qhs", corpus_file("wrong_checksum.qhs"))], sender="zweiter@localhost"))
    # 3. No message at all (no From): Exim bounces it to the envelope sender with our reason.
    smtp.sendmail("dritter@localhost", ["bestenliste@localhost"], b"Subject: nur Text\r\n\r\nkein Absender\r\n")
    # 4. The database cannot be opened: Exim keeps the message to try again; nobody is answered.
    smtp.sendmail("vierter@localhost", ["kaputt@localhost"],
                  attached([("Jörg.qhs", corpus_file("umlaut.qhs"))], sender="vierter@localhost", to="kaputt@localhost"))
    smtp.quit()

    messages = wait_for("three answers", lambda: (lambda m: m if len(m) >= 3 else None)(mailbox_messages(mailbox)))
    by_recipient = {str(m["To"]).split("@")[0].split("<")[-1]: m for m in messages}
    reply = by_recipient["spieler"]
    body = reply.get_body(("plain",)).get_content()
    assert reply["Auto-Submitted"] == "auto-replied", reply
    assert "bestenliste@localhost" in str(reply["From"]), reply["From"]
    assert "Max_32_01_15.qhs:\n  Dein Ergebnis wurde in die weltweite Bestenliste eingetragen.\n  Platz 1." in body, body
    refused = by_recipient["zweiter"].get_body(("plain",)).get_content()
    assert "Die Prüfsumme der Datei stimmt nicht" in refused, refused
    bounce = by_recipient["dritter"]
    assert "Mail delivery failed" in str(bounce["Subject"]), bounce
    assert "not an e-mail message" in bounce.as_string(), bounce
    assert "vierter" not in by_recipient, by_recipient.keys()

    def deferred():
        logs = [open(os.path.join(work, "spool/msglog", n)).read() for n in os.listdir(f"{work}/spool/msglog")]
        return [log for log in logs if "kaputt@localhost" in log and "defer" in log and "returned 75" in log]

    wait_for("the message to the broken list to be deferred", deferred)
    queue = subprocess.run(prefix + [EXIM, "-C", config, "-bp"], capture_output=True, text=True).stdout
    assert "kaputt@localhost" in queue, queue

    listed = subprocess.run([binary, "export", "--csv", "--data-dir", f"{work}/data"], capture_output=True,
                            text=True, check=True).stdout.strip().splitlines()
    assert len(listed) == 2 and "Max" in listed[1], listed
    print("mail through Exim: taken, refused, bounced and deferred as a mail system expects")
finally:
    if daemon_pid:
        os.kill(daemon_pid, signal.SIGTERM)
    if not os.environ.get("KEEP_MAIL_TEST"):
        shutil.rmtree(work, ignore_errors=True)
    else:
        print("kept", work)
