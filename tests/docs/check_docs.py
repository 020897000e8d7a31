#!/usr/bin/env python3
"""Holds the texts to the program and to the release: README.md, LIESMICH.md,
DEVELOPING.md, CHANGELOG.md and both manual pages as groff (`man -l`) and
mandoc show them. Every example (a `$ command` and the lines it prints) prints
those lines, with PROGRAM as `datum`, and the sample session is what the
program writes. The guides' other commands run in order with the examples,
in a folder with the release files and a home folder, as written or through
their stand-in (STAND_INS); what they install or unpack runs on the sample
answers under its platform's emulator. CLAIMS are said and true, WORDING kept.

    check_docs.py PROGRAM DIST VERSION ZIP        (ZIP: the Windows zip's name)
"""
import atexit, datetime, functools, os, re, shutil, subprocess, sys, tempfile, types, zipfile
from pathlib import Path

PROGRAM, DIST, VERSION, ZIP = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve(), sys.argv[3], sys.argv[4]
SOURCE, ROOT, WORK = f"datum-{VERSION}", Path(__file__).resolve().parents[2], Path(tempfile.mkdtemp())
atexit.register(shutil.rmtree, WORK, True)
os.environ["LC_ALL"] = "C.UTF-8"
(WORK / "bin").mkdir()
(WORK / "bin/datum").symlink_to(PROGRAM)


def expect(ok, message):
    ok or sys.exit(f"FAIL: {message}")


def run(args, what=None, check=True, **kwargs):
    """ARGS run to their end; with CHECK, a status other than 0 fails."""
    done = subprocess.run([str(a) for a in args], capture_output=True, **{"input": b"", **kwargs})
    expect(not check or done.returncode == 0, f"{what or args}: exit status {done.returncode}\n"
           + (done.stdout + done.stderr).decode(errors="replace"))
    return done


def sh(command, **kwargs):
    return run(["bash", "-o", "pipefail", "-c", command], command, **kwargs)


def out(*args, **kwargs):
    return run(args, **kwargs).stdout.decode().strip()


# The table of platforms as script/platforms.sh reads it: {name: {column: words}}.
PLATFORMS = {}
for line in out("bash", "-c", "source script/platforms.sh; for p in $(platforms); do for c in "
                '"${platform_columns[@]}"; do echo "$p|$c|$(platform $p $c)"; done; done', cwd=ROOT).splitlines():
    name, column, cell = line.split("|", 2)
    PLATFORMS.setdefault(name, {})[column] = cell.split()


def platform(column, value):
    return next(name for name, row in PLATFORMS.items() if row[column] == [value])


def platform_of(path):
    """The platform a release file or its folder is named after; None: this machine's."""
    named = re.search(rf"datum-{re.escape(VERSION)}-([\w-]+?)(\.zip|\.tar\.gz)?(/|$)", str(path))
    return named[1] if named and named[1] in PLATFORMS else None


def sample(path, name=None, cpu=()):
    """Whether PATH, of platform NAME (or of its folder's name), writes the sample session."""
    expect(Path(path).is_file(), f"no program {path}")
    name = name or platform_of(path)
    words = PLATFORMS[name]["emulator"] if name else []
    done = run(words[:1] + list(cpu) + words[1:] + [path], check=False, input=ANSWERS)
    return done.returncode == 0 and done.stdout == SAMPLE


@functools.cache
def unpacked(name):
    """The release file NAME unpacked into a folder of its own."""
    folder, file = WORK / "unpacked" / name, DIST / name
    folder.mkdir(parents=True)
    sh({".deb": f"dpkg-deb -x {file} .", ".rpm": f"rpm2cpio {file} | cpio -idm --quiet",
        ".zip": f"unzip -q {file}"}.get(file.suffix, f"tar -xzf {file}"), cwd=folder)
    return folder


def programs(name):
    """The programs in the release files of platform NAME, by kind, as named by cmake/release_files.cmake."""
    row = PLATFORMS[name]
    ends = {"tarball": f"-{name}.tar.gz", "deb": f"_{''.join(row['deb'])}.deb", "rpm": f".{''.join(row['rpm'])}.rpm"}
    return {kind: next(unpacked(file.name).rglob("bin/datum")) for kind, end in ends.items() if row.get(kind, True)
            for file in DIST.iterdir() if file.name.endswith(end)}


# The texts as a reader sees them, and what the web page says of the
# program: its description (host/page/about.mjs) and its help.
TEXTS = {name: (ROOT / name).read_text() for name in ("README.md", "LIESMICH.md", "DEVELOPING.md", "CHANGELOG.md")}
for page in ("datum.1", "datum.de.1"):
    shown = run(["man", "-l", ROOT / "doc" / page], env={**os.environ, "MANWIDTH": "80"})
    expect(not shown.stderr, f"man -l doc/{page}: {shown.stderr.decode()}")
    TEXTS[f"{page}.groff"] = shown.stdout.decode()
    TEXTS[f"{page}.mandoc"] = sh(f"mandoc -T utf8 -O width=80 doc/{page} | col -b -x", cwd=ROOT).stdout.decode()
PAGES = [name for name in TEXTS if not name.endswith(".md")]
TEXTS["page.description"] = out("node", "--input-type=module", "-e", "console.log((await import(process.argv[1]))"
                                ".description)", ROOT / "host/page/about.mjs")
TEXTS["host/page/datum.html.in"] = (ROOT / "host/page/datum.html.in").read_text()
for name in PAGES:
    for number, line in enumerate(TEXTS[name].splitlines(), 1):
        expect(len(line) <= 80, f"{name} is wider than 80 columns at line {number}: {line}")
        expect(len(re.findall("[‘„]", line)) == len(re.findall("[’“]", line)),
               f"{name} breaks a literal across lines at line {number}: {line}")

# German pages give a German date and name their section EXIT-STATUS,
# which mdoc takes for a misspelt EXIT STATUS.
LINT_ALLOWED = [r"datum\.de\.1:\d+:\d+: STYLE: possible typo in section name: Sh EXIT.STATUS instead of EXIT STATUS",
                r"datum\.de\.1:\d+:\d+: WARNING: cannot parse date, using it verbatim: Dd \d+\. [A-Z][a-zä]* \d+"]
lint = run(["mandoc", "-T", "lint", "-W", "style", "doc/datum.1", "doc/datum.de.1"], cwd=ROOT, check=False)
for line in (lint.stdout + lint.stderr).decode().split("\n")[:-1]:
    expect(any(re.search(allowed + "$", line) for allowed in LINT_ALLOWED), f"mandoc -T lint: {line}")

# The zip's pages, in its one folder: each marked with its language and
# naming this version in its footer, which the build writes into it.
with zipfile.ZipFile(DIST / ZIP) as windows_zip:
    for page, language in (("datum.html", "en"), ("datum.de.html", "de")):
        html = windows_zip.read(f"{ZIP[:-4]}/{page}").decode()
        expect(f'<html lang="{language}">' in html.splitlines(), f"{page} is not marked as {language}")
        expect(f'<td class="foot-os">datum {VERSION}</td>' in html, f"{page}: its footer does not name datum {VERSION}")


def session(lines):
    """The sample session in LINES: from " 1 Geben Sie das erste Datum" on,
    the numbered lines and the answers indented by three blanks."""
    start = next((i for i, line in enumerate(lines) if line.startswith(" 1 Geben Sie das erste Datum")), len(lines))
    end = next((i for i in range(start, len(lines)) if not re.fullmatch(r"[ 1-9][0-9]( .*)?|   [^ ].*", lines[i])),
               len(lines))
    return lines[start:end]


SESSION = session(TEXTS["README.md"].splitlines())
expect(SESSION, "README.md: no sample session")
for name in ["LIESMICH.md"] + PAGES:
    expect(session(TEXTS[name].splitlines()) == SESSION, f"{name}: the sample session differs from README.md's")
ANSWERS = "".join(line[3:] + "\n" for line in SESSION if line.startswith("   ")).encode()
SAMPLE = run([PROGRAM], input=ANSWERS).stdout
numbered = [line for line in SESSION if not line.startswith("   ")]
written = [line.rstrip("\r ") for line in SAMPLE.decode().split("\n")[:-1]]
expect([int(line[:2]) for line in numbered] == list(range(1, len(numbered) + 1)), "the session's lines: not 1, 2, ...")
expect([line[3:] for line in numbered] == written, "the sample session is not what the program writes:\n"
       + "\n".join(written))


def parts(name):
    """A text's parts in order: each fenced block as (language, lines), each
    paragraph, list item or table row as (None, its code spans); a rendered
    page's examples, from a "$" line to an empty one, as console blocks."""
    if name in PAGES:
        return [("console", [line[len(example[1]):] for line in example[0].splitlines()])
                for example in re.finditer(r"^( *)\$ .*\n(.+\n)*", TEXTS[name], re.M)]
    found, unit, lines = [], [], TEXTS[name].splitlines()
    while lines:
        line = lines.pop(0)
        if unit and (not line.strip() or line.startswith(("```", "|", "- ", "#"))):
            found, unit = found + [(None, re.findall(r"`([^`]+)`", " ".join(unit)))], []
        if line.startswith("```"):
            found.append((line[3:], lines[:lines.index("```")]))
            del lines[:lines.index("```") + 1]
        elif line.strip():
            expect(not line.startswith("$ "), f"{name}: an example outside a console block: {line}")
            unit.append(line)
    return found + [(None, re.findall(r"`([^`]+)`", " ".join(unit)))]


def examples(lines):
    """The commands of a console block, each with the lines it prints."""
    found = []
    for line in lines:
        if line.startswith("$ "):
            found.append((line[2:], []))
        else:
            expect(found, f"an example without a command: {line}")
            found[-1][1].append(line)
    return found


def try_command(reader, command, in_block):
    """A line of a block, or a code span of two words or more."""
    for pattern, stand_in in STAND_INS:
        if found := re.fullmatch(pattern, command):
            reader.not_run.add(command) if isinstance(stand_in, str) else stand_in(reader, found)
            reader.tried += not isinstance(stand_in, str)
            return
    expect(not in_block, f"{reader.name}: no way to try {command!r} here")


def install(reader, found):
    """dpkg or rpm installs the package into an empty root, whatever its
    architecture. The root lacks the C library, all a package may need."""
    package = reader.cwd / found[2]
    root = Path(tempfile.mkdtemp(dir=reader.folder)) / package.suffix[1:]
    if package.suffix == ".deb":
        needs = out("dpkg-deb", "-f", package, "Depends").split(", ")
        for folder in ("info", "updates"):
            (root / "var/lib/dpkg" / folder).mkdir(parents=True)
        (root / "var/lib/dpkg/status").touch()
        run(["dpkg", f"--root={root}", "--force-architecture", "--force-depends", "-i", package], found[0])
        name = platform("deb", out("dpkg-deb", "-f", package, "Architecture"))
    else:
        needs = out("rpm", "-qp", "--requires", package).split("\n")
        sh(f"rpm --root {root} --dbpath /var/lib/rpm --initdb && rpm --root {root} --dbpath /var/lib/rpm --nodeps "
           f"--ignorearch -i {package}")
        name = platform("rpm", out("rpm", "-qp", "--qf", "%{ARCH}", package))
    expect(all(re.match(r"(libc6( |$)|libc\.so|ld-linux|rtld\(|rpmlib\()", n) for n in needs if n), f"{found[0]}: {needs}")
    expect(sample(root / "usr/bin/datum", name), f"{reader.name}: {found[0]!r} installs no program that works")
    reader.installed[root] = root / "usr/bin/datum"


def remove(reader, found):
    """"(or dnf, zypper)": every root loses the package, and nothing of it stays."""
    roots = [root for root in reader.installed if root.name in ("deb", "rpm")]
    expect(roots, f"{reader.name}: {found[0]!r} with no package installed")
    for root in roots:
        run(["dpkg", f"--root={root}", "-r", "datum"] if root.name == "deb"
            else ["rpm", "--root", root, "--dbpath", "/var/lib/rpm", "-e", "datum"], found[0])
        left = [p for p in root.rglob("*") if not p.is_dir() and not str(p).startswith(f"{root}/var/lib/")]
        expect(not left, f"{reader.name}: {found[0]!r} leaves {left}")
        del reader.installed[root]


def npm(reader, found):
    """npm as written, offline, with a prefix in the reader's folder."""
    prefix = reader.folder / ".npm-global"
    run(["bash", "-c", found[0]], found[0], cwd=reader.cwd, env={
        **reader.env, "npm_config_prefix": prefix, "npm_config_cache": WORK / "npm-cache", "npm_config_offline": "true",
        "npm_config_audit": "false", "npm_config_fund": "false", "npm_config_update_notifier": "false"})
    if found[1] == "install":
        expect(sample(prefix / "bin/datum"), f"{reader.name}: {found[0]!r} installs no program that works")
        reader.installed[prefix] = prefix / "bin/datum"
    else:
        expect(not (prefix / "bin/datum").exists(), f"{reader.name}: {found[0]!r} leaves datum behind")
        del reader.installed[prefix]


def unpack(reader, found):
    """tar as written, or unzip for Windows' tar, which unpacks a zip the same
    way. A platform's release file holds its program in a folder of its name;
    the Windows one runs under wine in package.windows-x64.zip."""
    sh(found[0] if found[1] else f"unzip -q -o {found[2]}", cwd=reader.cwd, env=reader.env)
    folder = reader.cwd / re.sub(r"\.(tar\.gz|zip)$", "", found[1] or found[2])
    if platform_of(folder):
        works = sample(folder / "bin/datum") if found[1] else (folder / "datum.exe").is_file()
        expect(works, f"{reader.name}: the program of {found[0]!r} is not there or fails")


def plain_build(reader, found):
    """Not built here, as it takes longer than every other check of the texts:
    it runs in the source, with only options that the presets give too."""
    presets = (ROOT / "CMakePresets.json").read_text()
    expect((reader.cwd / "CMakeLists.txt").is_file(), f"{reader.name}: {found[0]!r} where there is no source")
    for name, value in re.findall(r"-D(\w+)=(\S+)", found[0]):
        expect(f'"{name}": "{value}"' in presets, f"{reader.name}: {found[0]!r}: -D{name}={value}, of no preset")


@functools.cache
def no_apt(script):
    """SCRIPT of the unpacked source where there is neither apt nor dpkg: it
    stops at once, naming the Debian packages to install by hand; their names."""
    path = WORK / script.replace("/", "-")
    path.mkdir()
    for command in ("bash", "env", "dirname", "sort", "tr", "id"):
        (path / command).symlink_to(shutil.which(command))
    done = run([unpacked(f"{SOURCE}.tar.gz") / SOURCE / script], check=False, env={**os.environ, "PATH": str(path)})
    named = re.search(r"install these \(Debian names\) by hand: (.*)", done.stderr.decode())
    expect(done.returncode and named, f"{script} where there is no apt: {done.stderr.decode()}")
    return named[1].split()


def change_folder(reader, found):
    expect((reader.cwd / found[1]).is_dir(), f"{reader.name}: {found[0]!r}: no such folder")
    reader.cwd = reader.cwd / found[1]


# The guides' commands, by pattern: what runs here, or (a string) why
# nothing can. Every line of a sh or bat block must match one; a code span
# in the prose is taken for a command if it does.
STAND_INS = [
    (r"(sha256sum|shasum -a 256) -c SHA256SUMS --ignore-missing", lambda reader, found: expect(sh(
        found[0], cwd=reader.cwd).stdout.decode().count(": OK\n") == len((DIST / "SHA256SUMS").read_text().splitlines()), found[0])),
    # apt, dnf and zypper need a system of their own.
    (r"sudo (apt install|dnf install|zypper install --allow-unsigned-rpm) \./(\S+\.(deb|rpm))", install),
    (r"sudo apt remove datum", remove),
    (r"npm (install|uninstall) -g (\./\S+\.tgz|datum)", npm),
    (r"tar -xzf (\S+\.tar\.gz)|tar -xf (\S+\.zip)", unpack),
    # The folder of the release files stands for the downloads.
    (r"cd Downloads", lambda reader, found: None),
    (r"cd (\S+)", change_folder),
    (r"datum", lambda reader, found: expect(reader.installed and all(map(sample, reader.installed.values())),
                                            f"{reader.name}: 'datum' runs no program that works")),
    (r"datum\.exe", lambda reader, found: expect((reader.cwd / found[0]).is_file(), f"{found[0]}: not there")),
    (r"man -l (\S+)", lambda reader, found: run(["man", "-l", reader.cwd / found[1] if (reader.cwd / found[1]).exists()
                                                 else ROOT / found[1]], found[0])),
    # Once PATH has ~/.local/bin, the shell finds datum there, and man its page.
    (r'export PATH="\$HOME/\.local/bin:\$PATH"', lambda reader, found: expect(sh(
        f"{found[0]}; command -v datum; man -w datum", env={**reader.env, "PATH": os.environ["PATH"]}).stdout.decode()
        .split() == [f"{reader.env['HOME']}/.local/{p}" for p in ("bin/datum", "share/man/man1/datum.1")], found[0])),
    (r"cmake -S \. -B build .*", plain_build),
    # Where there is no apt, they stop at once. (script/test runs this check;
    # package.reproducible builds the source archive as script/run does.)
    (r"script/(run|test)", lambda reader, found: no_apt(found[0])),
    (r"sudo dpkg-reconfigure locales|sudo dnf install glibc-langpack-de", "would change this system's locales"),
    (r"(LC_ALL=\S+ )?man (-L \w+ )?datum", "package.* shows the pages each package installs"),
    (r"datum(\.exe)? < \S+", "the answers are the reader's"),
    (r"build/datum", "the plain build is not made here"),
    (r"npm root -g", "names npm's folder"),
    (r"certutil .*|\(?Get-FileHash .*|Get-Content .*|.*\| Set-Content .*|Set-ExecutionPolicy .*", "Windows' own"),
    (r"(\w+=\S+ )*(sudo|apt|dnf|zypper|rpm|dpkg|npm|tar|unzip|cd|cmake|script/\S+|man|datum\S*|\.\\\S+|certutil|"
     r"\(?[GS]et-\w+|sha256sum|shasum|export|cp|rm|mkdir)( .*)?",
     lambda reader, found: expect(False, f"{reader.name}: no stand-in for {found[0]!r} yet")),
]

for name in ("README.md", "LIESMICH.md", "DEVELOPING.md", "CHANGELOG.md", *PAGES):
    folder, guide = Path(tempfile.mkdtemp(dir=WORK)), name in ("README.md", "LIESMICH.md")
    for file in DIST.iterdir():
        (folder / file.name).symlink_to(file)
    reader = types.SimpleNamespace(name=name, folder=folder, installed={}, examples=0, tried=0, not_run=set(), env={
        **os.environ, "HOME": str(folder / ".home"), "PATH": f"{WORK / 'bin'}:{os.environ['PATH']}"})
    (folder / ".home").mkdir()
    for language, lines in parts(name):
        reader.cwd = folder
        if language == "console":
            for command, shown in examples(lines):
                printed = sh(command, cwd=folder, env=reader.env).stdout.decode().replace("\r\n", "\n")
                expect(printed.rstrip("\n") == "\n".join(shown),
                       f"{name}: {command!r} prints\n{printed}but the text shows\n" + "\n".join(shown))
                reader.examples += 1
        elif guide and language in ("sh", "bat", None):
            for command in lines if language else [span for span in lines if " " in span]:
                try_command(reader, re.sub(r" +#.*", "", command), language)
        elif guide:
            expect(language == "text" and session(lines) == lines,
                   f"{name}: a {language or 'plain'} block, neither examples, commands nor the sample session")
    expect(not reader.installed, f"{name}: leaves {list(reader.installed.values())} installed")
    left = [p for p in (folder / ".home/.local").rglob("*") if not p.is_dir()]
    expect(not left, f"{name}: the commands that remove what was copied to ~/.local leave {left}")
    print(f"ok: {name}: {reader.examples} commands of examples" + guide * f", {reader.tried} other commands tried; "
          f"not run here: {', '.join(sorted(reader.not_run))}")
for page in ("datum.1", "datum.de.1"):
    expect(parts(f"{page}.groff") == parts(f"{page}.mandoc"), f"{page}: groff and mandoc show other examples")

# The release files the guides name, and all of them in README.md's table.
for name in ("README.md", "LIESMICH.md"):
    for named in set(re.findall(r"datum[-_]\d[-\w.]*?\.(?:deb|rpm|zip|tgz|tar\.gz|html|cdx\.json)\b", TEXTS[name])):
        expect((DIST / named).is_file(), f"{name} names {named}, which is not a release file")
    for named in set(re.findall(r"datum-\d[-\w.]*-(?:windows|linux|web)[-\w.]*", TEXTS[name])):
        expect(any(f.name.startswith(named) for f in DIST.iterdir()), f"{name} names {named}, of no release file")
unnamed = [f.name for f in DIST.iterdir() if f"\n| `{f.name}` |" not in TEXTS["README.md"]]
expect(not unnamed, f"README.md's table of downloads lacks {unnamed}")
for name in ("README.md", "LIESMICH.md", "DEVELOPING.md", "CHANGELOG.md"):
    for target in re.findall(r"\]\(([^)#]*)[^)]*\)", TEXTS[name]):
        expect(not target or re.match(r"\w+:", target) or (ROOT / target).exists(), f"{name} links to {target}: not there")


def answer(given, wait=False):
    """The last line the program writes on the answers GIVEN. WAIT: it ends
    on them without waiting, though its input stays open a second longer."""
    running = subprocess.Popen([PROGRAM], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    running.stdin.write(given.encode() if isinstance(given, str) else given)
    running.stdin.flush()
    try:
        running.wait(timeout=1) if wait else running.stdin.close()
    except subprocess.TimeoutExpired:
        running.kill()
        expect(False, f"{given!r}: the program does not end at once")
    return running.stdout.read().decode().rstrip("\r\n").split("\r\n")[-1]


def text_after_count(found):
    """Each answer shown, after a date, ends the program without the final character."""
    for given in re.findall(r"`([^`]+)`|<code>([^<]+)</code>", found[1]):
        count = int(re.match(r"\d+", "".join(given))[0])
        end = datetime.date(2023, 12, 31) + datetime.timedelta(days=count)
        expect(answer(f"31 12 2023 {''.join(given)}\n", wait=True) ==
               f"{count} Tage nach dem 31. 12. 2023 ist der {end.day}. {end.month}. {end.year}.", "".join(given))


# The bytes the program skips before a number (a sign and the digits, which
# may begin one, aside), and the names the texts give them.
SKIPPED = [byte for byte in range(1, 256) if byte not in b"+0123456789"
           and answer(bytes([byte]) + b"5 1 2000 0 x").startswith("0 Tage nach dem 5. 1. 2000")]
WHITE_SPACE = {"space": 32, "tab": 9, "line feed": 10, "vertical tab": 11, "form feed": 12, "carriage return": 13,
               "Leerzeichen": 32, "Tabulator": 9, "Zeilenvorschub": 10, "vertikalen Tabulator": 11,
               "vertikaler Tabulator": 11, "Seitenvorschub": 12, "Wagenrücklauf": 13}
orders = set()


def white_space(found):
    named = [WHITE_SPACE.get(name) for name in re.split(r", | and | und ", found[1])]
    expect(sorted(named, key=str) == sorted(SKIPPED, key=str), f"{found[1]}: the program skips the bytes {SKIPPED}")
    orders.add(tuple(named))


@functools.cache
def npm_page():
    """The page that `man -L de datum` finds once the npm package is installed."""
    run(["npm", "install", "-g", "--offline", "--prefix", WORK / "npm", DIST / f"{SOURCE}.tgz"])
    return out("man", "-L", "de", "-w", "datum", env={**os.environ, "MANPATH": str(WORK / "npm/share/man")})


def unreadable_file(found):
    """The sample answers as Windows may save them, after a byte order mark or in UTF-16."""
    text = ANSWERS.decode().replace("\n", "\r\n")
    for saved in (text.encode("utf-8-sig"), text.encode("utf-16")):
        expect(answer(saved) == found[1], f"the sample answers as {saved[:4]}...: {answer(saved)}")


def raspberry(found):
    """The armhf programs run on the processor of the Raspberry Pi named
    first, and stop at instructions that the processor of the others lacks."""
    cpu, armhf = {"Pi 1": "arm1176", "Zero": "arm1176", "Pi 2": "cortex-a7"}, platform("deb", "armhf")
    for path in programs(armhf).values():
        for model in found.groups():
            expect(sample(path, armhf, ["-cpu", cpu[model]]) == (model == found[1]), f"{path} on a {model}")


def fixed_address(found):
    """Every tarball's program is static and loads at a random address, but
    on the architectures named, whose packages hold a dynamic PIE."""
    fixed = [platform("deb", arch) for arch in found.groups()]
    for name in PLATFORMS:
        for kind, path in programs(name).items():
            said = out("file", "-b", path)
            expect(re.search(("LSB executable.*statically" if kind == "tarball" else "LSB pie executable.*dynamically")
                             if name in fixed else "static-pie linked", said), f"{name}: its {kind}'s program: {said}")


# Sentences about the program and its release, each with its check, which
# gets what the sentence says (its pattern's groups): a sentence changed
# changes its check, and one that is no longer there fails.
MONTHS = "January February March April May June July August September October November December".split()
CLAIMS = [
    ("README.md", r"`([^`\s]+)` is (-?\d+)\b", lambda found: expect(answer(f"{found[1]} 1 2000 0\nx\n") ==
     f"0 Tage nach dem {found[2]}. 1. 2000 ist der {found[2]}. 1. 2000.", found[0])),
    ("README.md", r"day (\d+) in month (\d+) becomes (\d+) (\w+) in the first step", lambda found: expect(
        answer(f"{found[1]} {found[2]} 2023 1\nx\n").endswith(f" {found[3]}. {MONTHS.index(found[4]) + 1}. 2023."),
        found[0])),
    ("README.md", r"text after the count on its line \(((?:`[^`]+`,? ?)+)\) ends the program at once",
     text_after_count),
    ("host/page/datum.html.in", r"Steht in der Zeile mit der Anzahl hinter der Zahl noch Text, etwa (<code>[^<]+"
     r"</code>), endet das Programm gleich nach dem Ergebnis", text_after_count),
    # The full stop ends the day, and the month cannot be read.
    ("host/page/datum.html.in", r"Aus <code>([^<]+)</code> liest das Programm den Tag (\d+); die nächste Antwort "
     r"beginnt mit dem Punkt, und das Programm endet mit dem Datum <code>(\2\. [^<]+)</code>",
     lambda found: expect(answer(found[1] + "\n", True) == f"0 Tage nach dem {found[3]} ist der {found[3]}.", found[0])),
    ("README.md", r"White space is skipped before each number and before the final character: ([^.]+)\.", white_space),
    ("LIESMICH.md", r"überspringt das Programm Leerraum: ([^.]+)\.", white_space),
    ("datum.1.mandoc", r"White space is ([^.]+), the bytes", white_space),
    ("datum.de.1.mandoc", r"Als Leerraum gelten ([^.]+), also die Bytes", white_space),
    ("README.md", r"This package has the English manual page only, which `man -L de datum` shows too\.",
     lambda found: expect("/de/" not in npm_page(), f"the npm package has a German page now: {npm_page()}")),
    ("LIESMICH.md", r"enthält nur die englische Handbuchseite; auch `man -L de datum` zeigt danach die englische\.",
     lambda found: expect("/de/" not in npm_page(), f"the npm package has a German page now: {npm_page()}")),
    ("README.md", r"In UTF-16 or after a byte order mark, `<` gives the program no number it can read: without a "
     r"word, it reports `([^`]+)`", unreadable_file),
    ("README.md", r"a Raspberry (Pi \d) or later, not the ARMv6 of the (Pi \d) and (Zero)", raspberry),
    ("README.md", r"Each tarball holds a static program that runs on any Linux of its architecture\. Those for (\w+) "
     r"and (\w+) load it at a fixed address, .*?; their `\.deb` and `\.rpm` hold a program that loads at a random "
     r"address and uses the system's C library\.", fixed_address),
    ("README.md", r"`SHA256SUMS` gives each hash in lower case", lambda found: expect(all(re.fullmatch(
        r"[0-9a-f]{64}  \S+", line) for line in (DIST / "SHA256SUMS").read_text().splitlines()), found[0])),
    ("README.md", r"This needs CMake ([\d.]+) or later", lambda found: expect(
        f"cmake_minimum_required(VERSION {found[1]})" in (ROOT / "CMakeLists.txt").read_text(), found[0])),
    ("README.md", r"`script/run` ([\w-]+(?:, [\w-]+)* and [\w-]+), `script/test` about (\d+) Debian packages",
     lambda found: expect(sorted(no_apt("script/run")) == sorted(re.split(", | and ", found[1])) and
                          abs(len(no_apt("script/test")) - int(found[2])) <= int(found[2]) / 10,
                          f"{found[0]}: {no_apt('script/run')}, {len(no_apt('script/test'))} packages")),
]
for name, pattern, check in CLAIMS:
    said = list(re.finditer(pattern, " ".join(TEXTS[name].split())))
    expect(said, f"{name} no longer says: {pattern}")
    for found in said:
        check(found)
expect(len(orders) == 1, f"the texts name the white space in different orders: {orders}")
print(f"ok: {len(CLAIMS)} claims")

# (texts, a pattern that each must hold, or with "!" must not hold)
WORDING = [
    (["LIESMICH.md", "page.description"], "die Länge des Februars im Startjahr und in jedem folgenden Jahr bis "
     "zum Ergebnis"),
    # Red Hat's system, never the company.
    (["README.md", "LIESMICH.md", "CHANGELOG.md"], "!Red Hat(?! Enterprise Linux)"),
]
for names, pattern in WORDING:
    for name in names:
        held = re.search(pattern.lstrip("!"), " ".join(TEXTS[name].split()))
        expect(bool(held) != pattern.startswith("!"), f"{name}: " + (f"holds {held[0]}" if held else f"lacks {pattern}"))
print("ok: the wording")
