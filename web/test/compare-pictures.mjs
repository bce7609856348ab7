// node compare-pictures.mjs REFERENCE.ppm OTHER.rgb [--max-mean M] [--max-p99 P]
// Compares a picture from the desktop program (binary PPM) with one read
// back from the page (raw RGB of the same size): prints the mean absolute
// difference per channel in 8-bit steps, its 99th and 99.9th percentiles,
// the maximum and the share of channels that differ. Exit status 1 past the
// limits (mean and 99th percentile).
import { readFileSync } from "node:fs";

const [referencePath, otherPath, ...rest] = process.argv.slice(2);
const limit = (name, fallback) => {
  const i = rest.indexOf(name);
  return i >= 0 ? Number(rest[i + 1]) : fallback;
};
const maxMean = limit("--max-mean", Infinity);
const maxP99 = limit("--max-p99", Infinity);

function readPpm(path) {
  const bytes = readFileSync(path);
  // "P6", width, height, 255, each followed by one whitespace character.
  let at = 0;
  const fields = [];
  while (fields.length < 4) {
    while (/\s/.test(String.fromCharCode(bytes[at]))) at++;
    let field = "";
    while (!/\s/.test(String.fromCharCode(bytes[at]))) field += String.fromCharCode(bytes[at++]);
    fields.push(field);
  }
  if (fields[0] !== "P6" || fields[3] !== "255") throw new Error(`${path}: not an 8-bit binary PPM`);
  return { width: Number(fields[1]), height: Number(fields[2]), rgb: bytes.subarray(at + 1) };
}

const reference = readPpm(referencePath);
const other = readFileSync(otherPath);
if (other.length !== reference.rgb.length) {
  console.log(`size differs: ${reference.rgb.length} bytes against ${other.length}`);
  process.exit(1);
}
const histogram = new Float64Array(256);
let sum = 0;
for (let i = 0; i < other.length; i++) {
  const d = Math.abs(reference.rgb[i] - other[i]);
  histogram[d]++;
  sum += d;
}
const n = other.length;
let below = 0, p99 = -1, p999 = -1, max = 0;
for (let v = 0; v < 256; v++) {
  below += histogram[v];
  if (p99 < 0 && below >= 0.99 * n) p99 = v;
  if (p999 < 0 && below >= 0.999 * n) p999 = v;
  if (histogram[v]) max = v;
}
const mean = sum / n;
const changed = (n - histogram[0]) / n;
console.log(`mean ${mean.toFixed(4)}, 99% ${p99}, 99.9% ${p999}, max ${max}, changed ${(100 * changed).toFixed(2)}%`);
process.exit(mean <= maxMean && p99 <= maxP99 ? 0 : 1);
