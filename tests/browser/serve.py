#!/usr/bin/env python3
"""Serves one folder over HTTP on 127.0.0.1 at a free port, for the browser check.

Usage: serve.py FOLDER PORT_FILE LOG_FILE
Writes the chosen port to PORT_FILE once the socket listens, and one line per request to LOG_FILE:
"<status> <path>". Runs until it is killed.
"""
import functools
import http.server
import os
import sys


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    log_path = ""

    def log_request(self, code="-", size="-"):
        with open(self.log_path, "a", encoding="utf-8") as log:
            status = int(code) if isinstance(code, int) else code
            log.write(f"{status} {self.path}\n")

    def log_message(self, format, *args):
        pass

    def end_headers(self):
        # Every run checks freshly written pages.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: serve.py FOLDER PORT_FILE LOG_FILE")
    folder, port_file, log_file = sys.argv[1:]
    QuietHandler.log_path = log_file
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    temporary = port_file + ".part"
    with open(temporary, "w", encoding="utf-8") as out:
        out.write(str(server.server_address[1]))
    os.replace(temporary, port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
