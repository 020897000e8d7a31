# The release's source archive datum-VERSION.tar.gz, for script/release,
# which sources this file and runs it in the top folder of the tree.

# make_source_archive VERSION DIST: the files of the commit (HEAD, not the
# working tree) under datum-VERSION/, as git archive writes them, with the
# file RELEASE, which holds what a build otherwise takes from git. Every
# clone of the commit gives the same bytes: git writes the entries in the
# commit's order, owned by root, each with the time of the commit (which
# script/release takes as SOURCE_DATE_EPOCH unless it is set); the modes
# are 0644 and 0755 and the line ends as committed, whatever the clone's
# settings, and gzip writes no name or time.
make_source_archive() {
    local version=$1 dist=$2 name=datum-$1 staging
    [ -z "$(git status --porcelain --untracked-files=no)" ] \
        || echo "script/release: uncommitted changes are built, but the source archive holds the commit" >&2
    staging=$(mktemp -d)
    cat >"$staging/RELEASE" <<EOF
# What script/release takes from git in a checkout, for a build of this
# source archive: the version, the commit, and the time stamp of every
# file that the build makes.
version=$version
commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH
EOF
    git -c core.autocrlf=false -c tar.umask=0022 archive --format=tar --prefix="$name/" \
        --add-file="$staging/RELEASE" HEAD | gzip -9 -n >"$dist/$name.tar.gz"
    rm -rf "$staging"
}

# take_source_archive VERSION DIST: in an unpacked source archive there is
# no git to make the archive again. The archive that the tree was unpacked
# from goes into the release as it is, if it lies beside the tree and the
# tree holds every one of its files unchanged; else the release has none.
take_source_archive() {
    local version=$1 dist=$2 name=datum-$1 archive=../datum-$1.tar.gz staging
    if [ ! -f "$archive" ]; then
        echo "script/release: no $archive beside this tree, so no source archive in the release" >&2
        return 0
    fi
    staging=$(mktemp -d)
    tar -xzf "$archive" -C "$staging"
    if [ -d "$staging/$name" ] && (cd "$staging/$name" && find . -type f -print0 | sort -z | xargs -0 sha256sum) \
        | sha256sum --quiet --strict -c - >/dev/null 2>&1; then
        cp "$archive" "$dist/"
    else
        echo "script/release: this tree differs from $archive, so no source archive in the release" >&2
    fi
    rm -rf "$staging"
}
