#!/usr/bin/env python3
"""Checks the Group Policy templates that scripts/package shipped:

- the .admx and every .adml are valid against Microsoft's schema
  (third_party/group-policy), with xmllint;
- what the schema does not see: every $(string.X) and $(presentation.X)
  of the .admx has its entry in every .adml, every element of a policy has
  its control in the policy's presentation (and no control names another),
  and the values the templates set are exactly those the program reads
  (kPolicyValues in src/settings/Policies.h), under its key, each of the
  kind the program reads;
- the zip holds the .admx at its root and one .adml per shipped language.

    check-policies.py POLICIES_ZIP
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
CULTURES = {"en-US", "de-DE", "es-ES", "fr-FR", "ja-JP", "ko-KR", "pl-PL", "pt-BR", "ru-RU", "tr-TR",
            "zh-CN", "zh-TW"}
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def program_values():
    """{name: kind} and the key, as the program reads them."""
    with open(os.path.join(ROOT, "src", "settings", "Policies.h"), encoding="utf-8") as f:
        source = f.read()
    values = dict(re.findall(r'\{u"(\w+)",\s*PolicyKind::(\w+)[,}]', source))
    key = re.search(r'kPolicyKey = u"(.*?)";', source).group(1).replace("\\\\", "\\")
    return values, key


def check_pair(admx, adml, culture):
    strings = {s.get("id") for s in adml.iterfind(".//p:stringTable/p:string", NS)}
    presentations = {p.get("id"): p for p in adml.iterfind(".//p:presentationTable/p:presentation", NS)}
    for element in admx.iter():
        for attribute, text in element.attrib.items():
            for kind, name in re.findall(r"\$\((string|presentation)\.([^)]*)\)", text):
                known = strings if kind == "string" else presentations
                check(name in known, f"{culture}: no {kind} {name} ({attribute} of {element.tag.split('}')[1]})")
    for policy in admx.iterfind(".//p:policy", NS):
        elements = policy.find("p:elements", NS)
        ids = {e.get("id") for e in elements} if elements is not None else set()
        reference = re.fullmatch(r"\$\(presentation\.(.*)\)", policy.get("presentation", ""))
        presentation = presentations.get(reference.group(1)) if reference else None
        controls = {c.get("refId") for c in presentation} if presentation is not None else set()
        check(ids == controls, f"{culture}: policy {policy.get('name')} has elements {sorted(ids)}, "
                               f"its presentation controls {sorted(controls)}")


def main():
    values, key = program_values()
    with tempfile.TemporaryDirectory() as work:
        with zipfile.ZipFile(sys.argv[1]) as archive:
            names = archive.namelist()
            archive.extractall(work)
        expected = {"Snapquery.admx"} | {f"{c}/Snapquery.adml" for c in CULTURES}
        check(set(names) == expected, f"the zip holds {sorted(set(names) ^ expected)} unexpectedly or not")
        files = [os.path.join(work, n) for n in names]
        schema = os.path.join(ROOT, "third_party", "group-policy", "PolicyDefinitionFiles.xsd")
        result = subprocess.run(["xmllint", "--noout", "--schema", schema] + files,
                                capture_output=True, text=True)
        check(result.returncode == 0, "not valid against the schema:\n" + result.stderr)

        admx = ET.parse(os.path.join(work, "Snapquery.admx")).getroot()
        for name in names:
            if name.endswith(".adml"):
                check_pair(admx, ET.parse(os.path.join(work, name)).getroot(), name.split("/")[0])

    # The values: each policy's key and value, and the kind the program reads.
    written = {}
    for policy in admx.iterfind(".//p:policy", NS):
        check(policy.get("key", "").lower() == key.lower(), f"policy {policy.get('name')} under {policy.get('key')}")
        check(policy.get("class") == "Both", f"policy {policy.get('name')} is not for machines and users")
        if policy.get("valueName"):
            decimal = policy.find("p:enabledValue/p:decimal", NS) is not None
            written[policy.get("valueName")] = "Switch" if decimal else "Text"
        for element in policy.iterfind("p:elements/*", NS):
            written[element.get("valueName")] = "Text" if element.tag.endswith(("}text", "}enum")) else "?"
    check(written == values, f"the templates set {written}, the program reads {values}")

    for message in failures:
        print("FAIL", message)
    print(f"{sys.argv[1]}: {'FAILED' if failures else 'ok'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
