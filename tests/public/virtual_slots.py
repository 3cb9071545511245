#!/usr/bin/env python3
# The virtual slot order of the published classes, read from quorvane.h and
# checked against tests/public/virtual_slots.txt. A class lists its slots as the
# Itanium C++ ABI lays them out with single inheritance: the primary base's
# slots first (an operation the class declares again keeps its base's slot),
# then the class's new virtual operations in declaration order, a virtual
# destructor taking two slots (complete, deleting). Signatures keep types and
# const, not parameter names, which do not reach the binary.
# The list's first line names the library's file version; the check fails when
# that differs from the build's or when any slot differs, so a new order lands
# only together with a new version.
#   virtual_slots.py check HEADER LIST VERSION
#   virtual_slots.py print HEADER VERSION      (writes a list to stdout)
#   virtual_slots.py self-test FIXTURES HEADER LIST VERSION
#   virtual_slots.py program LIST OUTPUT       (a C++ program that asks the
#     compiler for the slot of every listed operation but the destructors)
import difflib
import os
import re
import sys

TOKEN = re.compile(r"\s*(::|[A-Za-z_]\w*|\d[\w.]*|\"(?:\\.|[^\"\\])*\"|'(?:\\.|[^'\\])*'|\S)")
# Words that end a type rather than name a parameter.
TYPE_WORDS = {"int", "char", "char8_t", "char16_t", "char32_t", "wchar_t", "bool", "double",
              "float", "long", "short", "signed", "unsigned", "void", "const", "volatile"}
CLOSE = {"(": ")", "[": "]", "{": "}"}


class HeaderError(Exception):
    pass


def strip_comments(text):
    out, i, n = [], 0, len(text)
    while i < n:
        if text.startswith("//", i):
            i = text.find("\n", i)
            i = n if i < 0 else i
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            if end < 0:
                raise HeaderError("unterminated comment")
            out.append(" " + "\n" * text.count("\n", i, end))
            i = end + 2
        elif text[i] in "\"'":
            m = re.compile(r"%s(?:\\.|[^%s\\\n])*%s" % ((text[i],) * 3)).match(text, i)
            if not m:
                raise HeaderError("unterminated literal")
            out.append(m.group())
            i = m.end()
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def tokens(text):
    lines, keep = [], True
    # Preprocessor lines (with their continuations) carry no declarations here.
    for line in strip_comments(text).split("\n"):
        if not keep:
            keep = not line.endswith("\\")
            continue
        if line.lstrip().startswith("#"):
            keep = not line.endswith("\\")
            continue
        lines.append(line)
    body = "\n".join(lines)
    out, pos = [], 0
    while True:
        m = TOKEN.match(body, pos)
        if not m:
            break
        out.append(m.group(1))
        pos = m.end()
    if body[pos:].strip():
        raise HeaderError("cannot read %r" % body[pos:pos + 20])
    return [t for t in out if t != "QUORVANE_API"]


def skip_group(toks, i):
    """toks[i] opens a bracket; returns the index after its match."""
    stack = [CLOSE[toks[i]]]
    i += 1
    while stack:
        if i >= len(toks):
            raise HeaderError("unbalanced brackets")
        if toks[i] in CLOSE:
            stack.append(CLOSE[toks[i]])
        elif toks[i] in ")]}":
            if toks[i] != stack.pop():
                raise HeaderError("mismatched %s" % toks[i])
        i += 1
    return i


def render(toks):
    text = ""
    for t in toks:
        word = t[0].isalnum() or t[0] == "_"
        if t in ("*", "&", "&&"):
            text += t if text.endswith(("*", "&")) else " " + t
        elif word and text and (text[-1].isalnum() or text[-1] in "_>"):
            text += " " + t
        elif t == ",":
            text += ", "
        else:
            text += t
    return text.replace(" ,", ",").strip()


def parameter_types(toks):
    params, depth, cur = [], 0, []
    for t in toks:
        if t in "([{<":
            depth += 1
        elif t in ")]}>":
            depth -= 1
        if t == "," and depth == 0:
            params.append(cur)
            cur = []
        else:
            cur.append(t)
    if cur:
        params.append(cur)
    out = []
    for p in params:
        if "=" in p:
            p = p[:p.index("=")]
        if len(p) >= 2 and re.match(r"[A-Za-z_]\w*$", p[-1]) and p[-1] not in TYPE_WORDS \
                and p[-2] != "::":
            p = p[:-1]
        if p == ["void"]:
            continue
        out.append(render(p))
    return ", ".join(out)


class Slot:
    def __init__(self, key, text):
        self.key, self.text = key, text  # key: name and parameters, for overriding


def member_function(decl, cls):
    """(key, signature, is_virtual, is_destructor) of a member function declaration, or None."""
    if not decl or decl[0] in ("using", "friend", "typedef", "static", "enum", "class", "struct"):
        return None
    if "(" not in decl:
        return None
    is_virtual = "virtual" in decl
    if "operator" in decl:
        if is_virtual:
            raise HeaderError("%s: virtual operators are not laid out by this check" % cls)
        return None
    decl = [t for t in decl if t not in ("virtual", "inline", "explicit", "constexpr")]
    open_at = decl.index("(")
    close_at = skip_group(decl, open_at) - 1
    head, params, tail = decl[:open_at], decl[open_at + 1:close_at], decl[close_at + 1:]
    if not head:
        raise HeaderError("%s: a declaration without a name" % cls)
    is_dtor = len(head) >= 2 and head[-2] == "~"
    if head == [cls]:
        return None  # a constructor
    quals = []
    for t in tail:
        if t in ("=", "override", "final", "noexcept"):
            break
        quals.append(t)
    types = parameter_types(params)
    qual = (" " + render(quals)) if quals else ""
    if is_dtor:
        return ("~", "~%s()" % cls, is_virtual, True)
    name = head[-1]
    return ("%s(%s)%s" % (name, types, qual), "%s(%s)%s" % (render(head), types, qual),
            is_virtual, False)


def parse(text):
    """{class: (base or None, [slot texts])} for the classes the header defines, in order."""
    toks = tokens(text)
    classes, order = {}, []
    i = 0
    while i < len(toks):
        if toks[i] in ("class", "struct") and i + 1 < len(toks) and toks[i - 1:i] != ["enum"]:
            i = parse_class(toks, i, classes, order)
        elif toks[i] in CLOSE:
            i = skip_group(toks, i)
        else:
            i += 1
    return [(name, classes[name]) for name in order]


def parse_class(toks, i, classes, order):
    name = toks[i + 1]
    j = i + 2
    if toks[j] == "final":
        j += 1
    if toks[j] == ";":
        return j + 1  # a forward declaration
    bases = []
    if toks[j] == ":":
        j += 1
        while toks[j] != "{":
            cur = []
            while toks[j] not in (",", "{"):
                cur.append(toks[j])
                j += 1
            if "virtual" in cur:
                raise HeaderError("%s: virtual bases are not laid out by this check" % name)
            bases.append([t for t in cur if t not in ("public", "protected", "private")])
            if toks[j] == ",":
                j += 1
    if toks[j] != "{":
        raise HeaderError("%s: expected its body" % name)
    if len(bases) > 1:
        raise HeaderError("%s: more than one base is not laid out by this check" % name)
    base = "".join(bases[0]) if bases else None
    if base is not None and base not in classes:
        raise HeaderError("%s: base %s is not defined before it" % (name, base))
    slots = [Slot(s.key, s.text) for s in classes[base][1]] if base else []
    for s in slots:
        if s.key == "~":
            s.text = re.sub(r"~\w+\(\)", "~%s()" % name, s.text)
    end = skip_group(toks, j)
    k, decl = j + 1, []
    while k < end - 1:
        t = toks[k]
        if t in ("public", "protected", "private") and toks[k + 1] == ":":
            k += 2
        elif t in ("class", "struct") and not decl:
            raise HeaderError("%s: nested classes are not laid out by this check" % name)
        elif t == ";":
            add_member(decl, name, slots)
            decl = []
            k += 1
        elif t == "{":
            after = skip_group(toks, k)
            if decl and decl[0] == "enum" or "=" in decl:
                decl.append("{}")  # an enumeration or an initialiser: up to its ';'
            else:
                add_member(decl, name, slots)  # a function with its body
                decl = []
            k = after
        elif t in ("(", "["):
            after = skip_group(toks, k)
            decl.extend(toks[k:after])
            k = after
        else:
            decl.append(t)
            k += 1
    if decl:
        raise HeaderError("%s: a declaration without its ';'" % name)
    classes[name] = (base, slots)
    order.append(name)
    return end


def add_member(decl, cls, slots):
    found = member_function(decl, cls)
    if not found:
        return
    key, text, is_virtual, is_dtor = found
    if any(s.key == key for s in slots):
        return  # an override keeps the slot of its base
    if not is_virtual:
        return
    if is_dtor:
        slots.append(Slot("~", text + " [complete]"))
        slots.append(Slot("~", text + " [deleting]"))
    else:
        slots.append(Slot(key, text))


def listing(header_text):
    lines = []
    for name, (base, slots) in parse(header_text):
        if not slots:
            continue
        lines.append(name + (" : " + base if base else ""))
        lines.extend("  %d %s" % (n, s.text) for n, s in enumerate(slots))
    return lines


def read_list(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    m = re.match(r"version (\S+)$", lines[0])
    if not m:
        raise HeaderError("%s: the first line must read 'version X.Y.Z'" % path)
    return m.group(1), [l for l in lines[1:] if l.strip() and not l.startswith("#")]


def check(header, list_path, version, out):
    """Returns None when the header's slots and the version match the list, else why not."""
    with open(header, encoding="utf-8") as f:
        text = f.read()
    try:
        actual = listing(text)
        listed_version, expected = read_list(list_path)
    except HeaderError as e:
        return "unreadable: %s" % e
    if listed_version != version:
        return ("version: the list names %s, the library's file version is %s"
                % (listed_version, version))
    if actual != expected:
        out.writelines(l + "\n" for l in difflib.unified_diff(
            expected, actual, list_path, header, lineterm=""))
        return "slots: the header's virtual slots differ from the list"
    return None


def planted_header(fixtures, folder):
    """The sound fixture's header, or a copy of it with the edits of folder's
    plant.txt: blocks "<<<", the text to find once, "===", its replacement,
    ">>>", applied in order."""
    sound = os.path.join(fixtures, "ok_layout", "quorvane.h")
    plant = os.path.join(folder, "plant.txt")
    if not os.path.exists(plant):
        return sound
    with open(sound, encoding="utf-8") as f:
        text = f.read()
    with open(plant, encoding="utf-8") as f:
        edits = re.findall(r"^<<<\n(.*?)^===\n(.*?)^>>>$", f.read(), re.S | re.M)
    for old, new in edits:
        if text.count(old) != 1:
            raise SystemExit("%s: an edit's text is not found exactly once" % plant)
        text = text.replace(old, new)
    path = os.path.join(os.environ.get("TMPDIR", "/tmp"),
                        "virtual_slots_%s_%d.h" % (os.path.basename(folder), os.getpid()))
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


def self_test(fixtures, header, list_path, version):
    """Every fixture named ok_* passes, every other fails for the reason its name starts
    with; the real header with a virtual planted in the middle of a class fails."""
    failures = 0
    sink = open(os.devnull, "w")
    for case in sorted(os.listdir(fixtures)):
        folder = os.path.join(fixtures, case)
        # A fixture's header is the sound fixture's with the edits of its
        # plant.txt (none: the fault is in its list alone).
        header_path = planted_header(fixtures, folder)
        try:
            why = check(header_path, os.path.join(folder, "virtual_slots.txt"), "1.0.0", sink)
        finally:
            if header_path.startswith(os.environ.get("TMPDIR", "/tmp")):
                os.remove(header_path)
        expected = None if case.startswith("ok_") else case.split("_")[0]
        if (why is None) != (expected is None) or (why and not why.startswith(expected)):
            print("fixture %s: expected %s, got %s" % (case, expected or "a pass", why or "a pass"))
            failures += 1
    with open(header, encoding="utf-8") as f:
        text = f.read()
    anchor = "    virtual void layout() = 0;\n"
    if text.count(anchor) != 1:
        print("the planted fault has no single place in %s" % header)
        return 1
    planted = os.path.join(os.environ.get("TMPDIR", "/tmp"), "virtual_slots_planted_%d.h" % os.getpid())
    with open(planted, "w", encoding="utf-8") as f:
        f.write(text.replace(anchor, "    virtual void planted(int) = 0;\n" + anchor))
    try:
        why = check(planted, list_path, version, sink)
    finally:
        os.remove(planted)
    if not (why or "").startswith("slots"):
        print("a virtual planted in BaseChart: expected a slot failure, got %s" % (why or "a pass"))
        failures += 1
    print("%d passed, %d failed" % (len(os.listdir(fixtures)) + 1 - failures, failures))
    return 1 if failures else 0


PROGRAM_HEAD = r"""// Generated by tests/public/virtual_slots.py from virtual_slots.txt: the
// compiler's slot of each listed operation against the list. A pointer to a
// virtual member holds its vtable offset: plus one in ptr (Itanium), or as it
// is with the virtual bit in adj (ARM).
#include "quorvane.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {
int checked = 0;
int differing = 0;

template <class P>
void expectSlot(P member, long slot, const char *what) {
    struct Raw { std::uintptr_t ptr; std::ptrdiff_t adj; } raw;
    static_assert(sizeof(P) == sizeof(Raw), "a member pointer of two words");
    std::memcpy(&raw, &member, sizeof raw);
#if defined(__arm__) || defined(__aarch64__)
    const bool isVirtual = (raw.adj & 1) != 0;
    const long found = static_cast<long>(raw.ptr / sizeof(void *));
#else
    const bool isVirtual = (raw.ptr & 1) != 0;
    const long found = static_cast<long>((raw.ptr - 1) / sizeof(void *));
#endif
    ++checked;
    if (!isVirtual || found != slot) {
        ++differing;
        std::printf("%s: listed in slot %ld, the compiler gives %ld\n", what, slot,
                    isVirtual ? found : -1L);
    }
}
}  // namespace

int main() {
"""


def program(list_path, output):
    """Writes the C++ program that checks the listed slots with the compiler."""
    _, lines = read_list(list_path)
    body, cls = [], None
    for line in lines:
        if not line.startswith(" "):
            cls = line.split(" ")[0]
            continue
        if "~" in line:
            continue  # a destructor has no member pointer
        m = re.match(r"\s+(\d+) (.*?)(\w+)\((.*)\)( const)?$", line)
        if not m:
            raise HeaderError("%s: cannot read %r" % (list_path, line))
        slot, ret, name, params, const = m.groups()
        # The pointer type is named inside a class derived from the listed one,
        # where its own enumerations are found unqualified, as the list names them.
        body.append("    {\n        struct Scope : %s {\n            using P = %s (%s::*)(%s)%s;"
                    "\n        };" % (cls, ret.strip(), cls, params, const or ""))
        body.append('        expectSlot(static_cast<Scope::P>(&%s::%s), %s, "%s");\n    }'
                    % (cls, name, slot, cls + ": " + line.strip().replace('"', '\\"')))
    with open(output, "w", encoding="utf-8") as f:
        f.write(PROGRAM_HEAD)
        f.write("\n".join(body) + "\n")
        f.write('    std::printf("%d passed, %d failed\\n", checked - differing, differing);\n')
        f.write("    return differing == 0 ? 0 : 1;\n}\n")
    return 0


def main(argv):
    if len(argv) == 5 and argv[1] == "check":
        why = check(argv[2], argv[3], argv[4], sys.stdout)
        if why:
            print("FAILED %s\nA new slot order lands only with a new file version of the library "
                  "and the list written for it (virtual_slots.py print HEADER VERSION)." % why)
            return 1
        print("virtual slots match the list for version %s" % argv[4])
        return 0
    if len(argv) == 4 and argv[1] == "print":
        with open(argv[2], encoding="utf-8") as f:
            print("version " + argv[3])
            print("\n".join(listing(f.read())))
        return 0
    if len(argv) == 4 and argv[1] == "program":
        return program(argv[2], argv[3])
    if len(argv) == 6 and argv[1] == "self-test":
        return self_test(*argv[2:])
    print(__doc__ or "usage: see the top of virtual_slots.py")
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
