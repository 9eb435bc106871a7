"""A real SMTP server for the tests: aiosmtpd on the loopback port given, AUTH LOGIN required for
the one account given, each message received parsed with the standard email parser and stored
as JSON in the folder given. Prints READY once it listens; stops when its input closes."""

import base64
import json
import os
import sys
import warnings
from email import message_from_bytes
from email.header import decode_header, make_header

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

# Plain AUTH is what the client under test must manage on a server without TLS.
warnings.filterwarnings("ignore", message="Requiring AUTH while not requiring TLS")

port, folder, user, password = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and auth_data.login == user.encode() \
        and auth_data.password == password.encode()
    return AuthResult(success=ok)


class Store:
    def __init__(self):
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content
        parsed = message_from_bytes(raw)
        self.count += 1
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "authenticated": bool(session.authenticated),
            "header_names": list(parsed.keys()),
            "headers": {name: str(value) for name, value in parsed.items()},
            "subject": str(make_header(decode_header(parsed.get("Subject", "")))),
            "body": base64.b64encode(parsed.get_payload(decode=True) or b"").decode(),
        }
        path = os.path.join(folder, "message-%d.json" % self.count)
        with open(path + ".part", "w") as out:
            json.dump(record, out)
        os.replace(path + ".part", path)
        return "250 Message accepted"


# A fixed name: looking up the machine's own name can wait long for a name server.
controller = Controller(Store(), hostname="127.0.0.1", port=port, server_hostname="aiosmtpd.test",
                        authenticator=authenticator,
                        auth_required=True, auth_require_tls=False)
controller.start()
print("READY", flush=True)
sys.stdin.read()
controller.stop()
