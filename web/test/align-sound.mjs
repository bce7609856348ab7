// node align-sound.mjs REFERENCE.wav TAPPED.wav OUT.wav
// The page's tapped sound starts when the Web Audio node starts, a few
// blocks of silence before the song's first tick reaches it. Finds where
// the reference's first sound block starts in the tapped sound and writes
// the tapped sound from there, as long as both last, so that
// compare-wav.py can compare it sample by sample with the reference.
import { readFileSync, writeFileSync } from "node:fs";

const [referencePath, tappedPath, outPath] = process.argv.slice(2);

function samples(path) {
  const bytes = readFileSync(path);
  let at = 12;
  while (at + 8 <= bytes.length) {
    const id = bytes.toString("latin1", at, at + 4);
    const size = bytes.readUInt32LE(at + 4);
    if (id === "data") return { header: bytes.subarray(0, at + 8), data: bytes.subarray(at + 8, at + 8 + size) };
    at += 8 + size + (size & 1);
  }
  throw new Error(`${path}: no data chunk`);
}

const reference = samples(referencePath).data;
const tapped = samples(tappedPath);
// The reference's first non-silent frame, and 64 frames from there.
let first = 0;
while (first + 4 <= reference.length && reference.readInt32LE(first) === 0) first += 4;
const probe = reference.subarray(first, first + 256);
let offset = -1;
for (let at = 0; at + probe.length <= tapped.data.length; at += 4) {
  if (tapped.data.compare(probe, 0, probe.length, at, at + probe.length) === 0) {
    offset = at - first;
    break;
  }
}
if (offset < 0) {
  console.log("the song's first sound is not in the tapped sound");
  process.exit(1);
}
const length = Math.min(reference.length, tapped.data.length - offset);
const data = tapped.data.subarray(offset, offset + length);
const header = Buffer.from(tapped.header);
header.writeUInt32LE(header.length - 8 + data.length, 4);
header.writeUInt32LE(data.length, header.length - 4);
writeFileSync(outPath, Buffer.concat([header, data]));
console.log(`the song starts ${offset / 4} frames into the tapped sound; ${length / 4} frames compared`);
