"""A static web host on 127.0.0.1 for the web site, as any host serves it:
the files of one folder under a subfolder of the server (FOLDER_PATH), the
folder's address giving its index.html, and, if asked for, a copy of the
site in a second folder of the same host (COPY_PATH). The server can be
stopped, which ends every connection the browser holds to it (the phone
without signal), and another started at the same address (a new release
put on the host)."""

import contextlib
import functools
import http.server
import socket
import threading

FOLDER_PATH = "/apps/datum/"
COPY_PATH = "/apps/datum-copy/"


class SiteServer:
    def __init__(self, folder, port=0, copy=None):
        folders = {FOLDER_PATH: folder, **({COPY_PATH: copy} if copy else {})}
        handler = functools.partial(_Handler, folders=folders)
        self._server = _Server(("127.0.0.1", port), handler)
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        self.url = f"http://127.0.0.1:{self.port}{FOLDER_PATH}"
        self.copy_url = f"http://127.0.0.1:{self.port}{COPY_PATH}"
        self._stopped = False

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()

    def replace(self, folder, copy=None):
        """Another site put on the host at the same address."""
        self.stop()
        self.__init__(folder, self.port, copy)

    def stop(self):
        if self._stopped:
            return
        self._stopped = True
        self._server.shutdown()
        self._server.server_close()
        # A browser keeps connections open, even ones it has sent nothing
        # on yet; a host that is gone answers on none of them.
        self._server.close_connections()
        self._thread.join()


class _Server(http.server.ThreadingHTTPServer):
    def __init__(self, *arguments):
        self._connections = set()
        self._lock = threading.Lock()
        super().__init__(*arguments)

    def process_request(self, request, client_address):
        with self._lock:
            self._connections.add(request)
        super().process_request(request, client_address)

    def shutdown_request(self, request):
        with self._lock:
            self._connections.discard(request)
        super().shutdown_request(request)

    def close_connections(self):
        with self._lock:
            connections, self._connections = self._connections, set()
        for connection in connections:
            with contextlib.suppress(OSError):  # closed meanwhile by its own thread
                connection.shutdown(socket.SHUT_RDWR)


class _Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".webmanifest": "application/manifest+json", ".js": "text/javascript"}

    def __init__(self, *arguments, folders, **options):
        self._folders = folders
        super().__init__(*arguments, **options)

    def send_head(self):
        # Always the file as it is now: the two sites of a test are built
        # within a second, which a file's time cannot tell apart.
        del self.headers["If-Modified-Since"]
        return super().send_head()

    def translate_path(self, path):
        # Only the site's folders are there; everything else is not found.
        path = path.split("?", 1)[0].split("#", 1)[0]
        for prefix, folder in self._folders.items():
            if path.startswith(prefix):
                self.directory = folder
                return super().translate_path("/" + path[len(prefix):])
        return "/nonexistent"

    def log_message(self, *args):
        pass
