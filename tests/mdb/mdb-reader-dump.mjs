// Reads an .mdb file with the independent npm package mdb-reader and prints
// its user tables as JSON, so tests can compare what another implementation
// sees with what was written.
//
//   node mdb-reader-dump.mjs <folder holding node_modules> <file.mdb> [--digest] [--table=NAME] [--system]
//
// With --digest each table's rows are replaced by a SHA-256 over a canonical
// form of every value (the tests compute the same over their expected rows),
// which keeps the output small for very large tables. --table limits the
// output to the named table; --system adds the system tables (MSys...).
import { createHash } from "node:crypto";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

const [nodeDir, file, ...options] = process.argv.slice(2);
const digestOnly = options.includes("--digest");
const withSystem = options.includes("--system");
const onlyTable = options.find((o) => o.startsWith("--table="))?.slice("--table=".length);
if (!nodeDir || !file) {
    console.error("usage: mdb-reader-dump.mjs <node dir> <file.mdb> [--digest] [--table=NAME]");
    process.exit(2);
}

let MDBReader;
try {
    const require = createRequire(join(nodeDir, "node_modules") + "/");
    MDBReader = (await import(pathToFileURL(require.resolve("mdb-reader")).href)).default;
} catch (error) {
    console.error(`mdb-reader is not installed under ${nodeDir}/node_modules: ${error.message}`);
    process.exit(3);
}

function canonical(value) {
    if (value === null || value === undefined) return "N;";
    if (typeof value === "number") return `I${value};`;
    if (typeof value === "string") return `S${Buffer.byteLength(value, "utf8")}:${value};`;
    return `?${String(value)};`;
}

const reader = new MDBReader(readFileSync(file));
const names = reader.getTableNames({ normalTables: true, systemTables: withSystem }).filter((name) => onlyTable === undefined || name === onlyTable);
const tables = names.map((name) => {
    const table = reader.getTable(name);
    const columns = table.getColumns().map((c) => ({ name: c.name, type: c.type, size: c.size }));
    const names = columns.map((c) => c.name);
    const rows = table.getData().map((row) => names.map((n) => row[n]));
    const result = { name, rowCount: table.rowCount, dataRows: rows.length, columns };
    if (digestOnly) {
        const hash = createHash("sha256");
        for (const row of rows) hash.update(row.map(canonical).join("") + "\n", "utf8");
        result.digest = hash.digest("hex");
    } else {
        result.rows = rows;
    }
    return result;
});
// Every character beyond ASCII goes out as a \u escape: JSON parsers then
// build the exact UTF-16 text, where decoding UTF-8 might drop a leading U+FEFF.
const escaped = JSON.stringify({ tables }).replace(
    /[\u007f-\uffff]/g,
    (c) => "\\u" + c.charCodeAt(0).toString(16).padStart(4, "0"),
);
process.stdout.write(escaped);
