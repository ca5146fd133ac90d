#!/usr/bin/env python3
"""A real SMTP server on 127.0.0.1 for the mail tests (aiosmtpd).

Usage: smtp_server.py CONFIG.json OUT_DIR
The configuration says: "user", "password" (accepted credentials; others get
535), "tls": "none" | "starttls" | "implicit", "cert", "key", "reject_first"
(the first N mails get 554), "reject_rcpt" (addresses refused with 550), "delay" (seconds to wait before answering DATA).
Prints "PORT n" once listening; stops when its standard input closes.
Each accepted mail is written as OUT_DIR/mail-N.eml with OUT_DIR/mail-N.json
(envelope, the credentials of the session as base64 of their bytes, whether
the session was encrypted).
"""

import asyncio
import base64
import json
import os
import socket
import ssl
import sys
from email import policy
from email.parser import BytesParser

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, SMTP

config = json.load(open(sys.argv[1], encoding="utf-8"))
out_dir = sys.argv[2]
state = {"count": 0, "rejected": 0}


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


class Authenticator:
    def __call__(self, server, session, envelope, mechanism, auth_data):
        login = bytes(auth_data.login or b"")
        password = bytes(auth_data.password or b"")
        session.zl_login = login
        session.zl_password = password
        ok = login == config.get("user", "").encode("utf-8") and password == config.get("password", "").encode("utf-8")
        return AuthResult(success=ok, handled=False)


class Handler:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower() in [a.lower() for a in config.get("reject_rcpt", [])]:
            return "550 No such user"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if config.get("delay"):
            await asyncio.sleep(float(config["delay"]))
        if state["rejected"] < int(config.get("reject_first", 0)):
            state["rejected"] += 1
            return "554 Transaction failed"
        state["count"] += 1
        base = os.path.join(out_dir, "mail-%d" % state["count"])
        raw = envelope.original_content or envelope.content
        with open(base + ".eml", "wb") as f:
            f.write(raw)
        message = BytesParser(policy=policy.default).parsebytes(raw)
        attachments = []
        for i, part in enumerate(message.iter_attachments()):
            name = "%s-att-%d" % (base, i + 1)
            with open(name, "wb") as f:
                f.write(part.get_payload(decode=True))
            attachments.append({"filename": part.get_filename(), "content_type": part.get_content_type(),
                                "file": name})
        body = message.get_body(preferencelist=("plain",))
        record = {
            "subject": str(message["Subject"]),
            "body": body.get_content() if body is not None else "",
            "attachments": attachments,
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "login": base64.b64encode(getattr(session, "zl_login", b"")).decode(),
            "password": base64.b64encode(getattr(session, "zl_password", b"")).decode(),
            "encrypted": bool(session.ssl) or server.transport.get_extra_info("sslcontext") is not None,
        }
        with open(base + ".json.tmp", "w", encoding="utf-8") as f:
            json.dump(record, f)
        os.replace(base + ".json.tmp", base + ".json")
        return "250 Message accepted"


tls = config.get("tls", "none")
context = None
if tls in ("starttls", "implicit"):
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(config["cert"], config["key"])

server_kwargs = dict(
    authenticator=Authenticator(),
    auth_require_tls=tls != "none",
    hostname="zorv-test",
)
if tls == "starttls":
    server_kwargs["tls_context"] = context

port = free_port()
kwargs = {}
if tls == "implicit":
    kwargs["ssl_context"] = context
controller = Controller(Handler(), hostname="127.0.0.1", port=port, server_kwargs=server_kwargs, **kwargs)
controller.start()
print("PORT %d" % port, flush=True)
try:
    sys.stdin.read()
finally:
    controller.stop()
