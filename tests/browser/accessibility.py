"""axe-core, the version pinned in package.json, run in the page for the
rules of WCAG 2.2 A and AA, in the light and the dark colour scheme."""

import json
import pathlib

AXE = pathlib.Path(__file__).resolve().parents[2] / "node_modules" / "axe-core" / "axe.min.js"
WCAG_TAGS = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa"]


def colour_scheme(driver, scheme):
    """Makes the page see prefers-color-scheme as light or dark."""
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                           {"features": [{"name": "prefers-color-scheme", "value": scheme}]})


def violations(driver):
    """axe's violations of the WCAG rules in the page as it is now, one
    line each, in the light and in the dark colour scheme."""
    if not driver.execute_script("return typeof axe === 'object'"):
        driver.execute_script(AXE.read_text())
    found = []
    for scheme in ("light", "dark"):
        colour_scheme(driver, scheme)
        result = driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            axe.run(document, {runOnly: {type: 'tag', values: arguments[0]}, resultTypes: ['violations']})
                .then((result) => done(result.violations), (error) => done(String(error)));""", WCAG_TAGS)
        if isinstance(result, str):
            raise AssertionError(f"axe-core failed: {result}")
        for violation in result:
            for node in violation["nodes"]:
                found.append(f"{scheme}: {violation['id']} at {json.dumps(node['target'])}: "
                             f"{node.get('failureSummary', '').splitlines()[-1].strip()}")
    colour_scheme(driver, "")
    return found
