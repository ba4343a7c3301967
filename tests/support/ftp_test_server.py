#!/usr/bin/python3
"""An FTP server for tests on a free port of 127.0.0.1.

usage: ftp_test_server.py ANONYMOUS_ROOT USER_ROOT USER PASSWORD

Anonymous users may write under ANONYMOUS_ROOT, USER with PASSWORD under USER_ROOT.
The port is printed on standard output, one line, once the server listens. Every command
the server receives is logged on standard error ("<- TYPE I", "<- EPSV", ...)."""
import logging
import sys
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


def main():
    anonymous_root, user_root, user, password = sys.argv[1:5]
    config_logging(level=logging.DEBUG)
    warnings.simplefilter("ignore")  # write permission for anonymous users is wanted here
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(anonymous_root, perm="elradfmwMT")
    authorizer.add_user(user, password, user_root, perm="elradfmwMT")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.auth_failed_timeout = 0.1  # a refused login answers at once
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
