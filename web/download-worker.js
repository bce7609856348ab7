// The page's downloads, off its main thread (load.js starts this worker and
// hands it the list of files): each file fetched with its bytes counted as
// they come, a gzip-compressed one decompressed as it arrives (the
// browser's DecompressionStream: a few hundred milliseconds for the show's
// data, which the main thread spends meanwhile on the audio context).
//
// Messages to the page: {name, received, size} as bytes arrive (size 0 when
// the server does not say), {name, bytes} with the file's ArrayBuffer
// (transferred), {name, error} with what failed, in words.
"use strict";

// A stream's bytes in one ArrayBuffer (twice as fast as Response's
// arrayBuffer for the show's data).
function gather(reader) {
  var chunks = [];
  var length = 0;
  function next() {
    return reader.read().then(function (part) {
      if (!part.done) {
        chunks.push(part.value);
        length += part.value.length;
        return next();
      }
      var bytes = new Uint8Array(length);
      var at = 0;
      chunks.forEach(function (chunk) {
        bytes.set(chunk, at);
        at += chunk.length;
      });
      return bytes.buffer;
    });
  }
  return next();
}

function download(file) {
  var name = file.name;
  fetch(name).catch(function (error) {
    throw new Error("could not download " + name + " (" + error.message + ")");
  }).then(function (response) {
    if (!response.ok)
      throw new Error("could not download " + name + " (the server answered " + response.status +
                      " " + response.statusText + ")");
    var size = Number(response.headers.get("Content-Length")) || 0;
    // With a Content-Encoding the browser decodes the body itself, and the
    // length counts the encoded bytes.
    var encoded = !!response.headers.get("Content-Encoding");
    var length = 0;
    var short = null;
    postMessage({ name: name, received: 0, size: size });
    var body = response.body.pipeThrough(new TransformStream({
      transform: function (chunk, controller) {
        length += chunk.length;
        postMessage({ name: name, received: encoded && size ? Math.min(length, size) : length,
                      size: size });
        controller.enqueue(chunk);
      },
      flush: function () {
        if (size && !encoded && length !== size) {
          short = "the download of " + name + " broke off after " + length + " of " + size +
                  " bytes";
          throw new Error(short);
        }
      },
    }));
    if (file.gzip && !encoded) {
      if (typeof DecompressionStream === "undefined")
        throw new Error("this browser cannot decompress " + name +
                        " (it has no DecompressionStream)");
      body = body.pipeThrough(new DecompressionStream("gzip"));
    }
    return gather(body.getReader()).catch(function (error) {
      throw new Error(short || "the download of " + name + " is damaged or incomplete (" +
                      error.message + ")");
    });
  }).then(function (bytes) {
    postMessage({ name: name, bytes: bytes }, [bytes]);
  }, function (error) {
    postMessage({ name: name, error: error.message });
  });
}

onmessage = function (event) {
  event.data.forEach(download);
};
