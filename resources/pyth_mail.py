#!/usr/bin/env python3
"""Sends one e-mail for Zorv Label.

Arguments: sender, server, port, sender (again), recipient, subject, body,
secure-connection flag ("Y": SSL from the start; anything else: plain, raised
with STARTTLS when the server offers it), then the paths of the attachments.
Standard input: the password on the first line, then a description (ignored).
Everything is UTF-8.

The password is sent only over an encrypted connection, or to the loopback
address. Exit status: 0 the server accepted the mail; 2 bad arguments or an
unreadable attachment; 3 no connection; 4 TLS failed or is missing where the
password needs it; 5 authentication refused; 6 the server refused the mail;
1 anything else. A failure prints one line on standard error.
"""

import base64
import ipaddress
import mimetypes
import os
import smtplib
import socket
import ssl
import sys
from email.message import EmailMessage
from email.utils import formatdate, make_msgid

EXIT_SENT = 0
EXIT_OTHER = 1
EXIT_USAGE = 2
EXIT_CONNECT = 3
EXIT_TLS = 4
EXIT_AUTH = 5
EXIT_REFUSED = 6

TIMEOUT = float(os.environ.get("ZL_MAIL_TIMEOUT", "30"))


class Failure(Exception):
    def __init__(self, status, text):
        super().__init__(text)
        self.status = status


def is_loopback(host):
    try:
        return ipaddress.ip_address(host).is_loopback
    except ValueError:
        return host.lower() in ("localhost", "localhost.localdomain")


def read_password():
    data = sys.stdin.buffer.read()
    first = data.split(b"\n", 1)[0]
    if first.endswith(b"\r"):
        first = first[:-1]
    return first.decode("utf-8", errors="strict")


def build_message(sender, recipient, subject, body, attachments):
    msg = EmailMessage()
    msg["From"] = sender
    msg["To"] = recipient
    msg["Subject"] = subject
    msg["Date"] = formatdate(localtime=True)
    msg["Message-ID"] = make_msgid()
    msg.set_content(body)
    for path in attachments:
        try:
            with open(path, "rb") as f:
                content = f.read()
        except OSError as e:
            raise Failure(EXIT_USAGE, "attachment %s cannot be read: %s" % (path, e.strerror))
        kind, encoding = mimetypes.guess_type(path)
        if kind is None or encoding is not None:
            kind = "application/octet-stream"
        maintype, subtype = kind.split("/", 1)
        msg.add_attachment(content, maintype=maintype, subtype=subtype,
                           filename=os.path.basename(path))
    return msg


def connect(server, port, use_ssl):
    context = ssl.create_default_context()
    try:
        if use_ssl:
            smtp = smtplib.SMTP_SSL(server, port, timeout=TIMEOUT, context=context)
        else:
            smtp = smtplib.SMTP(server, port, timeout=TIMEOUT)
        smtp.ehlo()
        encrypted = use_ssl
        if not use_ssl and smtp.has_extn("starttls"):
            smtp.starttls(context=context)
            smtp.ehlo()
            encrypted = True
        return smtp, encrypted
    except ssl.SSLError as e:
        raise Failure(EXIT_TLS, "secure connection to %s:%d failed: %s" % (server, port, e.reason or e))
    except (ConnectionError, socket.timeout, socket.gaierror, OSError, smtplib.SMTPConnectError,
            smtplib.SMTPServerDisconnected) as e:
        raise Failure(EXIT_CONNECT, "cannot connect to %s:%d: %s" % (server, port, e))


def authenticate(smtp, user, password):
    """AUTH PLAIN or LOGIN with UTF-8 credentials (smtplib's own login is ASCII only)."""
    mechanisms = smtp.esmtp_features.get("auth", "").upper().split()
    if "PLAIN" in mechanisms:
        token = base64.b64encode(b"\0" + user.encode("utf-8") + b"\0" + password.encode("utf-8")).decode("ascii")
        code, reply = smtp.docmd("AUTH", "PLAIN " + token)
    elif "LOGIN" in mechanisms:
        code, reply = smtp.docmd("AUTH", "LOGIN " + base64.b64encode(user.encode("utf-8")).decode("ascii"))
        if code == 334:
            code, reply = smtp.docmd(base64.b64encode(password.encode("utf-8")).decode("ascii"))
    else:
        raise Failure(EXIT_AUTH, "the server offers no password login")
    if code != 235:
        raise Failure(EXIT_AUTH, "authentication refused: %d %s" % (code, reply.decode("utf-8", "replace")))


def main(argv):
    if len(argv) < 9:
        raise Failure(EXIT_USAGE, "usage: pyth_mail.py sender server port sender recipient subject body flag [files...]")
    sender, server, port_text, login, recipient, subject, body, flag = argv[1:9]
    attachments = argv[9:]
    try:
        port = int(port_text.strip())
        if not 0 < port < 65536:
            raise ValueError
    except ValueError:
        raise Failure(EXIT_USAGE, "the port %r is not a port number" % port_text)
    server = server.strip()
    try:
        password = read_password()
    except UnicodeDecodeError:
        raise Failure(EXIT_USAGE, "the password is not UTF-8")
    message = build_message(sender, recipient, subject, body, attachments)

    smtp, encrypted = connect(server, port, flag.strip().upper() == "Y")
    try:
        if password:
            if not encrypted and not is_loopback(server):
                raise Failure(EXIT_TLS, "%s offers no secure connection; the password is not sent in clear" % server)
            if smtp.has_extn("auth"):
                authenticate(smtp, login, password)
        try:
            refused = smtp.send_message(message, from_addr=sender, to_addrs=[recipient])
        except smtplib.SMTPRecipientsRefused as e:
            raise Failure(EXIT_REFUSED, "recipient refused: %s" % recipient)
        except smtplib.SMTPSenderRefused as e:
            status = EXIT_AUTH if e.smtp_code == 530 else EXIT_REFUSED
            raise Failure(status, "sender refused: %d %s" % (e.smtp_code, e.smtp_error.decode("utf-8", "replace")))
        except smtplib.SMTPDataError as e:
            raise Failure(EXIT_REFUSED, "mail refused: %d %s" % (e.smtp_code, e.smtp_error.decode("utf-8", "replace")))
        if refused:
            raise Failure(EXIT_REFUSED, "recipient refused: %s" % recipient)
    except (smtplib.SMTPServerDisconnected, socket.timeout, ConnectionError) as e:
        raise Failure(EXIT_CONNECT, "connection lost: %s" % e)
    finally:
        try:
            smtp.quit()
        except Exception:
            pass
    return EXIT_SENT


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except Failure as f:
        sys.stderr.write("pyth_mail: %s\n" % str(f).replace("\n", " "))
        sys.exit(f.status)
    except smtplib.SMTPException as e:
        sys.stderr.write("pyth_mail: %s\n" % str(e).replace("\n", " "))
        sys.exit(EXIT_OTHER)
    except Exception as e:  # never a trace with the message's contents
        sys.stderr.write("pyth_mail: %s\n" % type(e).__name__)
        sys.exit(EXIT_OTHER)
