#!/usr/bin/env python3
# Holds README.md, LIESMICH.md, DEVELOPING.md, CHANGELOG.md and both manual pages, as groff (`man -l`) and
# mandoc show them, to the program and the release, and to what script/stamp writes into them.
#   check_docs.py PROGRAM DIST VERSION ZIP        (ZIP: the Windows zip's name)
# Every example (a `$ command` and what it prints) runs with PROGRAM as `datum`. The other commands of the guides
# README.md and LIESMICH.md (not those of DEVELOPING.md) run in order with them, in a folder with the release files
# and a home of its own: STAND_INS gives, by pattern, what runs a command or does the same to a folder, or why it
# cannot run here. CLAIMS: sentences (patterns) that must be there, each with a check of what it says, if any.
import atexit, datetime, functools, os, re, shutil, subprocess, sys, tempfile, types, zipfile
from pathlib import Path

PROGRAM, DIST = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
VERSION, ZIP, SOURCE = sys.argv[3], sys.argv[4], f"datum-{sys.argv[3]}"
ROOT, WORK = Path(__file__).resolve().parents[2], Path(tempfile.mkdtemp())
atexit.register(shutil.rmtree, WORK, True)
os.environ["LC_ALL"] = "C.UTF-8"
(WORK / "bin").mkdir()
(WORK / "bin/datum").symlink_to(PROGRAM)


def expect(ok, message):
    if not ok:
        sys.exit(f"FAIL: {message}")


def run(args, what=None, check=True, **kwargs):
    done = subprocess.run([str(a) for a in args], capture_output=True, **{"input": b"", **kwargs})
    expect(not check or done.returncode == 0, f"{what or args}: exit status {done.returncode}\n"
           + (done.stdout + done.stderr).decode(errors="replace"))
    return done


def sh(command, **kwargs):
    return run(["bash", "-o", "pipefail", "-c", command], command, **kwargs).stdout.decode()


# The table of platforms as script/platforms.sh reads it: {name: {column: words}}.
PLATFORMS = {}
for line in sh('source script/platforms.sh; for p in $(platforms); do for c in "${platform_columns[@]}"; do '
               'echo "$p|$c|$(platform $p $c)"; done; done', cwd=ROOT).splitlines():
    name, column, cell = line.split("|", 2)
    PLATFORMS.setdefault(name, {})[column] = cell.split()


def platform(column, value):
    return next(name for name, row in PLATFORMS.items() if row[column] == [value.strip()])


def sample(path, name=None, cpu=()):
    # Whether PATH, a program of platform NAME (None: this machine's), writes the sample session.
    expect(Path(path).is_file(), f"no program {path}")
    words = PLATFORMS[name]["emulator"] if name else []
    done = run(words[:1] + list(cpu) + words[1:] + [path], check=False, input=ANSWERS)
    return done.returncode == 0 and done.stdout == SAMPLE


@functools.cache
def programs(name):
    # The programs of platform NAME's release files by kind, each file unpacked into a folder of its own.
    row, found = PLATFORMS[name], {}
    for kind, end in (("tar.gz", f"-{name}.tar.gz"), ("deb", f"_{''.join(row['deb'])}.deb"),
                      ("rpm", f".{''.join(row['rpm'])}.rpm")):
        for file in DIST.glob(f"*{end}"):
            (WORK / file.name).mkdir()
            sh({"deb": f"dpkg-deb -x {file} .", "rpm": f"rpm2cpio {file} | cpio -idm --quiet"}.get(
                kind, f"tar -xzf {file}"), cwd=WORK / file.name)
            found[kind] = next((WORK / file.name).rglob("bin/datum"))
    return found


run([ROOT / "script/stamp", "--check"])  # The texts tell the facts of elsewhere as script/stamp writes them there.
# The texts as a reader sees them, the web page's description and help; pages fit 80 columns, break no literal.
TEXTS = {name: (ROOT / name).read_text() for name in ("README.md", "LIESMICH.md", "DEVELOPING.md", "CHANGELOG.md")}
for page in ("datum.1", "datum.de.1"):
    shown = run(["man", "-l", ROOT / "doc" / page], env={**os.environ, "MANWIDTH": "80"})
    expect(not shown.stderr, f"man -l doc/{page}: {shown.stderr.decode()}")
    TEXTS[f"{page}.groff"] = shown.stdout.decode()
    TEXTS[f"{page}.mandoc"] = sh(f"mandoc -T utf8 -O width=80 doc/{page} | col -b -x", cwd=ROOT)
PAGES = [name for name in TEXTS if not name.endswith(".md")]
TEXTS["page.description"] = sh("node --input-type=module -e 'console.log((await import(\"./host/page/about.mjs\"))"
                               ".description)'", cwd=ROOT)
TEXTS["host/page/datum.html.in"] = (ROOT / "host/page/datum.html.in").read_text()
for name in PAGES:
    for number, line in enumerate(TEXTS[name].splitlines(), 1):
        expect(len(line) <= 80, f"{name} is wider than 80 columns at line {number}: {line}")
        expect(len(re.findall("[‘„]", line)) == len(re.findall("[’“]", line)),
               f"{name} breaks a literal across lines at line {number}: {line}")

# German pages give a German date and a section EXIT-STATUS, which mdoc takes for a misspelt EXIT STATUS.
lint = run(["mandoc", "-T", "lint", "-W", "style", "doc/datum.1", "doc/datum.de.1"], cwd=ROOT, check=False)
for line in (lint.stdout + lint.stderr).decode().split("\n")[:-1]:
    expect(re.search(r"datum\.de\.1:\d+:\d+: (STYLE: possible typo in section name: Sh EXIT.STATUS instead of "
                     r"EXIT STATUS|WARNING: cannot parse date, using it verbatim: Dd \d+\. [A-Z][a-zä]* \d+)$", line),
           f"mandoc -T lint: {line}")

# The zip's pages, in its one folder: marked with their language, naming this version in the footer.
with zipfile.ZipFile(DIST / ZIP) as windows_zip:
    for page, language in (("datum.html", "en"), ("datum.de.html", "de")):
        html = windows_zip.read(f"{ZIP[:-4]}/{page}").decode()
        expect(f'<html lang="{language}">' in html.splitlines(), f"{page} is not marked as {language}")
        expect(f'<td class="foot-os">datum {VERSION}</td>' in html, f"{page}: its footer does not name datum {VERSION}")


def session(text):
    # From " 1 Geben Sie das erste Datum" on, the numbered lines and the answers indented by three blanks.
    found = re.search(r"^ 1 Geben Sie das erste Datum.*\n([ 1-9][0-9]( .*)?\n|   [^ ].*\n)*", text, re.M)
    return found[0].splitlines() if found else []


# The sample session, alike in every text, is what the program writes on its answers.
SESSION = session(TEXTS["README.md"])
for name in ["LIESMICH.md"] + PAGES:
    expect(session(TEXTS[name]) == SESSION, f"{name}: the sample session differs from README.md's")
ANSWERS = "".join(line[3:] + "\n" for line in SESSION if line.startswith("   ")).encode()
SAMPLE = run([PROGRAM], input=ANSWERS).stdout
written = [f"{number:2} {line}".rstrip("\r ") for number, line in enumerate(SAMPLE.decode().split("\n")[:-1], 1)]
expect(SESSION and [line for line in SESSION if not line.startswith("   ")] == written,
       "README.md's sample session is not what the program writes:\n" + "\n".join(written))


def parts(name):
    # A text's parts in order: each paragraph, list item or table row as (None, its code spans), each fenced
    # block as (language, lines); a page's examples, from a "$" line to an empty one, as console blocks.
    if name in PAGES:
        return [("console", [line[len(example[1]):] for line in example[0].splitlines()])
                for example in re.finditer(r"^( *)\$ .*\n(.+\n)*", TEXTS[name], re.M)]
    pieces = re.split(r"^```(\w*)\n(.*?)^```$|\n(?=\n|\||- |#)", TEXTS[name], flags=re.M | re.S) + [None, None]
    found = []
    for text, language, block in zip(pieces[::3], pieces[1::3], pieces[2::3]):
        found.append((None, re.findall(r"`([^`]+)`", " ".join(text.split()))))
        if language is not None:
            found.append((language, block.splitlines()))
    return found


def install(reader, found):
    # apt, dnf and zypper need a system of their own: an empty root, for any architecture, without a C library.
    package, root = reader.cwd / found[2], Path(tempfile.mkdtemp(dir=reader.folder)) / found[3]
    if found[3] == "deb":
        sh(f"mkdir -p {root}/var/lib/dpkg/info {root}/var/lib/dpkg/updates && touch {root}/var/lib/dpkg/status && "
           f"dpkg --root={root} --force-architecture --force-depends -i {package}")
        name = platform("deb", sh(f"dpkg-deb -f {package} Architecture"))
    else:
        sh(f"rpm --root {root} --dbpath /var/lib/rpm --initdb && "
           f"rpm --root {root} --dbpath /var/lib/rpm --nodeps --ignorearch -i {package}")
        name = platform("rpm", sh(f"rpm -qp --qf %{{ARCH}} {package}"))
    expect(sample(root / "usr/bin/datum", name), f"{reader.name}: {found[0]!r} installs no program that works")
    reader.installed[root] = (root / "usr/bin/datum", name)


def remove(reader, found):
    # "(or dnf, zypper)": every root loses the package, and nothing of it stays.
    roots = [root for root in reader.installed if root.name in ("deb", "rpm")]
    expect(roots, f"{reader.name}: {found[0]!r} with no package installed")
    for root in roots:
        sh(f"dpkg --root={root} -r datum" if root.name == "deb"
           else f"rpm --root {root} --dbpath /var/lib/rpm -e datum")
        left = [p for p in root.rglob("*") if not p.is_dir() and not str(p).startswith(f"{root}/var/lib/")]
        expect(not left, f"{reader.name}: {found[0]!r} leaves {left}")
        del reader.installed[root]


def npm(reader, found):
    # With the reader's ~/.npmrc. The package has no German page: `man -L de datum` shows the English one.
    prefix = reader.folder / ".npm-global"
    sh(found[0], cwd=reader.cwd, env=reader.env)
    if found[1] == "install":
        expect(sample(prefix / "bin/datum"), f"{reader.name}: {found[0]!r} installs no program that works")
        reader.installed[prefix] = (prefix / "bin/datum", None)
        page = sh("man -L de -w datum", env={**os.environ, "MANPATH": f"{prefix}/share/man"})
        expect("/de/" not in page, f"{found[0]!r} installs a German page, which README.md and LIESMICH.md deny")
    else:
        expect(not (prefix / "bin/datum").exists(), f"{reader.name}: {found[0]!r} leaves datum behind")
        del reader.installed[prefix]


def unpack(reader, found):
    # unzip for Windows' tar, which unpacks a zip the same way. A platform's release file holds its program
    # in a folder of its name; the Windows one runs under wine in package.windows-x64.zip.
    sh(found[0] if found[1] else f"unzip -q -o {found[2]}", cwd=reader.cwd, env=reader.env)
    folder = reader.cwd / re.sub(r"\.(tar\.gz|zip)$", "", found[1] or found[2])
    name = folder.name.removeprefix(f"{SOURCE}-")
    if name in PLATFORMS:
        works = sample(folder / "bin/datum", name) if found[1] else (folder / "datum.exe").is_file()
        expect(works, f"{reader.name}: the program of {found[0]!r} is not there or fails")


@functools.cache
def no_apt(script):
    # Where there is no apt, SCRIPT of this clone stops and names the Debian packages to install by hand.
    path = Path(tempfile.mkdtemp(dir=WORK))
    for command in ("bash", "env", "dirname", "sort", "tr", "id"):
        (path / command).symlink_to(shutil.which(command))
    done = run([ROOT / script], check=False, env={**os.environ, "PATH": str(path)})
    named = re.search(r"install these \(Debian names\) by hand: (.*)", done.stderr.decode())
    expect(done.returncode and named, f"{script} where there is no apt: {done.stderr.decode()}")
    return named[1].split()


# Every line of a guide's sh or bat block must match a row; a code span in
# its prose is taken for a command if it does.
STAND_INS = [
    (r"(sha256sum|shasum -a 256) -c SHA256SUMS --ignore-missing", lambda reader, found: expect(
        sh(found[0], cwd=reader.cwd).count(": OK\n") == (DIST / "SHA256SUMS").read_text().count("\n"), found[0])),
    (r"sudo (apt install|dnf install|zypper install --allow-unsigned-rpm) \./(\S+\.(deb|rpm))", install),
    (r"sudo apt remove datum", remove),
    (r"npm (install|uninstall) -g (\./\S+\.tgz|datum)", npm),
    (r"tar -xzf (\S+\.tar\.gz)|tar -xf (\S+\.zip)", unpack),
    # The folder of the release files stands for the downloads.
    (r"cd (?:Downloads|(\S+))", lambda reader, found: setattr(reader, "cwd", reader.cwd / (found[1] or "."))),
    (r"datum", lambda reader, found: expect(reader.installed and all(sample(*p) for p in reader.installed.values()),
                                            f"{reader.name}: 'datum' runs no program that works")),
    (r"datum\.exe", lambda reader, found: expect((reader.cwd / found[0]).is_file(), f"{reader.cwd}: no datum.exe")),
    (r"man -l (\S+)", lambda reader, found: run(["man", "-l", reader.cwd / found[1] if (reader.cwd / found[1]).exists()
                                                 else ROOT / found[1]], found[0])),
    # Once PATH has ~/.local/bin, the shell finds datum there, and man its page.
    (r'export PATH="\$HOME/\.local/bin:\$PATH"', lambda reader, found: expect(sh(
        f"{found[0]}; command -v datum; man -w datum", env={**reader.env, "PATH": os.environ["PATH"]}).split()
        == [f"{reader.env['HOME']}/.local/{p}" for p in ("bin/datum", "share/man/man1/datum.1")], found[0])),
    # The build from the unpacked source archive, as written, and the program it builds.
    (r"cmake -S \. -B build .*", lambda reader, found: sh(found[0], cwd=reader.cwd, env=reader.env)),
    (r"build/datum", lambda reader, found: expect(sample(reader.cwd / found[0]), f"{found[0]} fails the sample")),
    # Where there is no apt, they stop at once.
    (r"script/(run|test)", lambda reader, found: no_apt(found[0])),
    (r"sudo dpkg-reconfigure locales|sudo dnf install glibc-langpack-de", "would change this system's locales"),
    (r"(LC_ALL=\S+ )?man (-L \w+ )?datum", "package.* shows the pages each package installs"),
    (r"datum(\.exe)? < \S+|npm root -g", "the reader's answers or npm's folder"),
    (r"certutil .*|\(?Get-FileHash .*|Get-Content .*|.*\| Set-Content .*|Set-ExecutionPolicy .*", "Windows' own"),
    (r"(\w+=\S+ )*(sudo|apt|dnf|zypper|rpm|dpkg|npm|tar|unzip|cd|cmake|script/\S+|man|datum\S*|\.\\\S+|certutil|"
     r"\(?[GS]et-\w+|sha256sum|shasum|export|cp|rm|mkdir)( .*)?",
     lambda reader, found: expect(False, f"{reader.name}: no stand-in for {found[0]!r} yet")),
]

# Each text's examples, every line of it that begins with "$ " run as a command.
for name in [name for name in TEXTS if name.endswith(".md")] + PAGES:
    count = len(re.findall(r"^ *\$ ", TEXTS[name], re.M))
    folder, guide = Path(tempfile.mkdtemp(dir=WORK)), name in ("README.md", "LIESMICH.md")
    for file in DIST.iterdir():
        (folder / file.name).symlink_to(file)
    reader = types.SimpleNamespace(name=name, folder=folder, installed={}, examples=0, env={
        **os.environ, "HOME": str(folder / ".home"), "PATH": f"{WORK / 'bin'}:{os.environ['PATH']}"})
    (folder / ".home").mkdir()
    (folder / ".home/.npmrc").write_text(f"prefix={folder}/.npm-global\ncache={WORK}/npm-cache\noffline=true\n"
                                         "audit=false\nfund=false\nupdate-notifier=false\n")
    for language, lines in parts(name):
        reader.cwd = folder
        if language == "console":
            expect(lines[0].startswith("$ "), f"{name}: an example without a command: {lines[0]}")
            for command, shown in re.findall(r"^\$ (.*)\n((?:(?!\$ ).*\n)*)", "".join(f"{x}\n" for x in lines), re.M):
                printed = sh(command, cwd=folder, env=reader.env).replace("\r\n", "\n")
                expect(printed == shown, f"{name}: {command!r} prints\n{printed}but the text shows\n{shown}")
                reader.examples += 1
        elif guide and language in ("sh", "bat", None):
            for command in lines if language else [span for span in lines if " " in span]:
                command = re.sub(r" +#.*", "", command)
                found, stand_in = next(((m, s) for p, s in STAND_INS if (m := re.fullmatch(p, command))), (None, None))
                expect(found or not language, f"{name}: no way to try {command!r} here")
                if callable(stand_in):
                    stand_in(reader, found)
                    expect(reader.cwd.is_dir(), f"{name}: {command!r}: no folder {reader.cwd}")
        elif guide:
            expect(language == "text" and session("".join(f"{line}\n" for line in lines)) == lines,
                   f"{name}: a {language or 'plain'} block, neither examples, commands nor the sample session")
    expect(reader.examples == count, f"{name}: {reader.examples} commands of examples, not {count}")
    expect(not reader.installed, f"{name}: leaves {list(reader.installed)} installed")
    left = [p for p in (folder / ".home/.local").rglob("*") if not p.is_dir()]
    expect(not left, f"{name}: the commands that remove what was copied to ~/.local leave {left}")
    print(f"ok: {name}: {count} commands of examples" + guide * " and its other commands")

# The release files the guides name (or a folder of), all of them in README.md's table, and the links.
for name in ("README.md", "LIESMICH.md"):
    for named in set(re.findall(r"datum[-_]\d[-\w.]*?\.(?:deb|rpm|zip|tgz|tar\.gz|html|cdx\.json)\b|"
                                r"datum-\d[-\w.]*-(?:windows|linux|web)[-\w.]*", TEXTS[name])):
        expect(any(f.name.startswith(named) for f in DIST.iterdir()), f"{name} names {named}, of no release file")
unnamed = [f.name for f in DIST.iterdir() if f"\n| `{f.name}` |" not in TEXTS["README.md"]]
expect(not unnamed, f"README.md's table of downloads lacks {unnamed}")
for name in ("README.md", "LIESMICH.md", "DEVELOPING.md", "CHANGELOG.md"):
    for target in re.findall(r"\]\(([^)#]*)[^)]*\)", TEXTS[name]):
        expect(not target or re.match(r"\w+:", target) or (ROOT / target).exists(),
               f"{name} links to {target}: not there")


def answer(given):
    # The last line the program writes on GIVEN, on which it must end though its input stays open.
    with subprocess.Popen(["timeout", "5", PROGRAM], stdin=subprocess.PIPE, stdout=subprocess.PIPE) as running:
        running.stdin.write(given if isinstance(given, bytes) else given.encode())
        running.stdin.flush()
        expect(running.wait() != 124, f"{given!r}: the program does not end")
        return running.stdout.read().decode().rstrip("\r\n").split("\r\n")[-1]


def text_after_count(found):
    for given in ["".join(given) for given in re.findall(r"`([^`]+)`|<code>([^<]+)</code>", found[1])]:
        count = int(re.match(r"\d+", given)[0])
        end = (datetime.date(2023, 12, 31) + datetime.timedelta(days=count)).strftime("%-d. %-m. %Y")
        expect(answer(f"31 12 2023 {given}\n") == f"{count} Tage nach dem 31. 12. 2023 ist der {end}.", given)


# The bytes the program skips before a number (but a sign and digits, which begin one), and their names.
SKIPPED = [byte for byte in range(1, 256) if byte not in b"+0123456789"
           and b"0 Tage nach dem 5. 1. 2000" in run([PROGRAM], input=bytes([byte]) + b"5 1 2000 0 x").stdout]
WHITE_SPACE = {"space": 32, "tab": 9, "line feed": 10, "vertical tab": 11, "form feed": 12, "carriage return": 13,
               "Leerzeichen": 32, "Tabulator": 9, "Zeilenvorschub": 10, "vertikalen Tabulator": 11,
               "vertikaler Tabulator": 11, "Seitenvorschub": 12, "Wagenrücklauf": 13}


def white_space(found):
    named = [WHITE_SPACE.get(name) for name in re.split(r", | and | und ", found[1])]
    expect(named == [32, 9, 10, 11, 12, 13] and sorted(named) == SKIPPED, f"{found[1]}: the program skips {SKIPPED}")


def raspberry(found):
    # The armhf programs run on the model named first, and stop on the processor of the others.
    cpu, armhf = {"Pi 1": "arm1176", "Zero": "arm1176", "Pi 2": "cortex-a7"}, platform("deb", "armhf")
    for path in programs(armhf).values():
        for model in found.groups():
            expect(sample(path, armhf, ["-cpu", cpu[model]]) == (model == found[1]), f"{path} on a {model}")


def fixed_address(found):
    # The architectures named are exactly those whose tarball's program is static but no PIE, which their packages
    # hold as a dynamic PIE; every other program is a static PIE. The dynamic ones need no newer C library than the
    # oldest systems named have, glibc 2.35 (Ubuntu 22.04, Fedora 36).
    said = {(name, kind): (sh(f"file -b {path}"), re.findall(r"GLIBC_2\.(\d+)", sh(f"readelf -W --dyn-syms {path}")))
            for name in PLATFORMS for kind, path in programs(name).items()}
    fixed = {name for (name, kind), (text, _) in said.items() if kind == "tar.gz" and "static-pie" not in text}
    expect({platform("deb", arch) for arch in re.split(", | and | und ", found[1])} == fixed, f"{found[0]}: {fixed}")
    for (name, kind), (text, glibc) in said.items():
        expect(re.search(("LSB executable.*statically" if kind == "tar.gz" else "LSB pie executable.*dynamically")
                         if name in fixed else "static-pie linked", text) and max(map(int, glibc), default=0) <= 35,
               f"{name}: its {kind}'s program: {text}, glibc 2.{max(glibc, key=int, default=0)}")


CLAIMS = [
    ("README.md", r"`([^`\s]+)` is (-?\d+)\b", lambda found: expect(answer(f"{found[1]} 1 2000 0\nx\n") ==
     f"0 Tage nach dem {found[2]}. 1. 2000 ist der {found[2]}. 1. 2000.", found[0])),
    ("README.md", r"day (\d+) in month (\d+) becomes (\d+ \w+) in the first step", lambda found: expect(answer(
        f"{found[1]} {found[2]} 2023 1\nx\n").endswith(datetime.datetime.strptime(found[3], "%d %B").strftime(
        " %-d. %-m. 2023.")), found[0])),
    ("README.md", r"text after the count on its line \(((?:`[^`]+`,? ?)+)\) ends the program at once",
     text_after_count),
    ("host/page/datum.html.in", r"Steht in der Zeile mit der Anzahl hinter der Zahl noch Text, etwa (<code>[^<]+"
     r"</code>), endet das Programm gleich nach dem Ergebnis", text_after_count),
    # The full stop ends the day, and the month cannot be read.
    ("host/page/datum.html.in", r"Aus <code>([^<]+)</code> liest das Programm den Tag (\d+); die nächste Antwort "
     r"beginnt mit dem Punkt, und das Ergebnis ist der <code>(\2\. [^<]+)</code>",
     lambda found: expect(answer(found[1] + "\n") == f"0 Tage nach dem {found[3]} ist der {found[3]}.", found[0])),
    ("README.md", r"White space is skipped before each number and before the final character: ([^.]+)\.", white_space),
    ("LIESMICH.md", r"überspringt das Programm Leerraum: ([^.]+)\.", white_space),
    ("datum.1.mandoc", r"White space is ([^.]+), the bytes", white_space),
    ("datum.de.1.mandoc", r"Als Leerraum gelten ([^.]+), also die Bytes", white_space),
    ("README.md", r"After a byte order mark, in UTF-16 or UTF-8, `<` gives the program no number it can read: without"
     r" a word, it reports `([^`]+)`", lambda found: expect(all(answer(ANSWERS.decode().replace("\n", "\r\n").encode(
         encoding)) == found[1] for encoding in ("utf-8-sig", "utf-16")), found[0])),
    ("README.md", r"a Raspberry (Pi \d) or later, not the ARMv6 of the (Pi \d) and (Zero)", raspberry),
    ("README.md", r"Each tarball holds a static program that runs on any Linux of its architecture\. Those for "
     r"([\w, ]+?) load it at a fixed address", fixed_address),
    ("LIESMICH.md", r"Die statischen Programme für ([\w, ]+?) werden allerdings an einer festen Adresse",
     fixed_address),
    ("README.md", r"`SHA256SUMS` gives each hash in lower case", lambda found: expect(re.findall(
        r"^[0-9a-f]{64}  (\S+)\n", sums := (DIST / "SHA256SUMS").read_text(), re.M) == sorted(
        f.name for f in DIST.iterdir() if f.name != "SHA256SUMS") and sums.count("\n") == len(list(DIST.iterdir())) - 1,
        f"{found[0]}, of every release file")),
    ("README.md", r"`script/run` ([\w-]+(?:, [\w-]+)* and [\w-]+), `script/test` the Debian packages",
     lambda found: expect(sorted(no_apt("script/run")) == sorted(re.split(", | and ", found[1])), found[0])),
    # Said alike, with no check of their own: the npm stand-in holds the package to the first two.
    ("README.md", r"This package has the English manual page only, which `man -L de datum` shows too\.", None),
    ("LIESMICH.md", "enthält nur die englische Handbuchseite; auch `man -L de datum` zeigt danach die englische", None),
    ("LIESMICH.md", "die Länge des Februars im Startjahr und in jedem folgenden Jahr bis zum Ergebnis", None),
    ("page.description", "die Länge des Februars im Startjahr und in jedem folgenden Jahr bis zum Ergebnis", None),
]
for name, pattern, check in CLAIMS:
    said = list(re.finditer(pattern, " ".join(TEXTS[name].split())))
    expect(said, f"{name} no longer says: {pattern}")
    for found in said:
        if check:
            check(found)
# DEVELOPING's table of what the programs contain names the flags and DLLs that each platform's row promises.
SECTION = TEXTS["DEVELOPING.md"].split("## What the programs contain")[1].split("\n## ")[0]
TABLE = re.findall(r"^\| (.+?) \| (.+?) \|", SECTION, re.M)
for name, row in PLATFORMS.items():
    said = {w for program, cell in TABLE if f"`{name}`" in program for w in re.findall(r"`(-[^`]+|\w+\.dll)`", cell)}
    promised = set(row["hardening"] + [dll for dll in row["imports"] if dll.endswith(".dll")])
    expect(said == promised, f"DEVELOPING.md says {sorted(said)} of {name}, platforms.txt promises {sorted(promised)}")
for name in ("README.md", "LIESMICH.md", "CHANGELOG.md"):  # Red Hat's system, never the company.
    company = re.search("Red Hat(?! Enterprise Linux)", " ".join(TEXTS[name].split()))
    expect(not company, f"{name}: {company and company.group()}, not Red Hat Enterprise Linux")
print(f"ok: {len(CLAIMS)} claims")
