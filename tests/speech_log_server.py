"""A stand-in speech server for the screen reader's test: answers the speech-dispatcher protocol
(SSIP) on a private socket and writes down each text it is asked to say, a line each, as plain
words (the reader's SSML marks taken out), and each letter said alone as "char X", instead of saying it. Each text is "said" at once: a
client that asked to be told hears it begin, pass its marks and end, which is how a reader's
"read all" knows to go on to the next part.

    speech_log_server.py SOCKET LOG"""
import html, os, re, socket, sys, threading

sock_path, log_path = sys.argv[1], sys.argv[2]
log = open(log_path, "a", buffering=1)

def serve(conn):
    f = conn.makefile("rwb", buffering=0)
    msg = 0
    notify = False
    lock = threading.Lock()
    def reply(lines):
        with lock:
            f.write("".join(l + "\r\n" for l in lines).encode())
    def said(msg, text):
        # A moment after the reply, once the client has had it and is listening for this text.
        events = [[f"701-{msg}", "701-1", "701 BEGIN"]]
        events += [[f"700-{msg}", "700-1", f"700-{m}", "700 INDEX MARK"] for m in re.findall(r'<mark name="([^"]*)"', text)]
        events += [[f"702-{msg}", "702-1", "702 END"]]
        threading.Timer(0.05, lambda: [reply(e) for e in events]).start()
    while True:
        line = f.readline()
        if not line:
            return
        cmd = line.decode("utf-8", "replace").strip()
        word = cmd.split(" ")[0].upper()
        if word == "SPEAK":
            reply(["230 OK RECEIVING DATA"])
            text = []
            while True:
                l = f.readline()
                if not l:
                    return
                l = l.decode("utf-8", "replace").rstrip("\r\n")
                if l == ".":
                    break
                text.append(l[1:] if l.startswith("..") else l)
            msg += 1
            log.write(html.unescape(re.sub(r"<[^>]*>", "", " ".join(text))) + "\n")
            reply([f"225-{msg}", "225 OK MESSAGE QUEUED"])
            if notify:
                said(msg, " ".join(text))
        elif word in ("CHAR", "KEY", "SOUND_ICON"):
            if word == "CHAR":  # a letter said on its own, as a reader says the one a caret reached
                log.write("char " + cmd[5:] + "\n")
            msg += 1
            reply([f"225-{msg}", "225 OK MESSAGE QUEUED"])
        elif cmd.upper().startswith("LIST OUTPUT_MODULES"):
            reply(["250-fake", "250 OK MODULE LIST SENT"])
        elif cmd.upper().startswith("LIST SYNTHESIS_VOICES"):
            reply(["249-fake\ten\tnone", "249 OK VOICE LIST SENT"])
        elif cmd.upper().startswith("LIST VOICES"):
            reply(["249-MALE1", "249 OK VOICE LIST SENT"])
        elif cmd.upper().startswith("HISTORY GET CLIENT_ID"):
            reply(["245-1", "245 OK CLIENT ID SENT"])
        elif cmd.upper().startswith("SET SELF NOTIFICATION"):
            notify = notify or cmd.upper().endswith(" ON")
            reply(["218 OK NOTIFICATION SET"])
        elif word == "QUIT":
            reply(["231 HAPPY HACKING"])
            return
        else:
            reply(["200 OK"])

if os.path.exists(sock_path):
    os.unlink(sock_path)
s = socket.socket(socket.AF_UNIX)
s.bind(sock_path)
s.listen(8)
while True:
    c, _ = s.accept()
    threading.Thread(target=serve, args=(c,), daemon=True).start()
