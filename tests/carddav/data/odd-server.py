# A server on loopback for the faults a real CardDAV server does not produce:
# /weiter sends to another host, /voll is an address book whose quota is used
# up, anything else is a plain web page. The same again over TLS with a
# self-signed certificate. Prints both ports, then serves.
import http.server
import os
import ssl
import threading

MULTISTATUS = (b'<?xml version="1.0"?><multistatus xmlns="DAV:" '
               b'xmlns:C="urn:ietf:params:xml:ns:carddav"><response><href>/voll/</href>'
               b'<propstat><prop><resourcetype><collection/><C:addressbook/></resourcetype>'
               b'</prop><status>HTTP/1.1 200 OK</status></propstat></response></multistatus>')


class Handler(http.server.BaseHTTPRequestHandler):
    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def handle_any(self):
        self.rfile.read(int(self.headers.get("Content-Length", 0)))
        if self.path.startswith("/weiter"):
            self.answer(301, headers=[("Location", "http://localhost:1/dav/")])
        elif self.path.startswith("/voll") and self.command == "PUT":
            self.answer(507)
        elif self.path.startswith("/voll") and self.command == "REPORT":
            self.answer(207, b'<multistatus xmlns="DAV:"/>')
        elif self.path.startswith("/voll"):
            self.answer(207, MULTISTATUS, [("Content-Type", "application/xml")])
        elif self.command == "GET":
            self.answer(200, b"<html><body>Willkommen</body></html>", [("Content-Type", "text/html")])
        else:
            self.answer(501)

    do_GET = do_PUT = do_PROPFIND = do_REPORT = handle_any

    def log_message(self, *args):
        pass


here = os.path.dirname(os.path.abspath(__file__))
plain = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
secure = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(os.path.join(here, "self-signed-cert.pem"),
                        os.path.join(here, "self-signed-key.pem"))
secure.socket = context.wrap_socket(secure.socket, server_side=True)
threading.Thread(target=secure.serve_forever, daemon=True).start()
print(plain.server_address[1], secure.server_address[1], flush=True)
plain.serve_forever()
