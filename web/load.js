// Downloads what the page needs and counts the bytes as they come: the
// show's program (show.wasm), the sound worklet's program (sound.wasm) and
// the show's data (show.data.gz: the song and the pictures as emscripten's
// file packager laid them out, gzip-compressed by scripts/build-web.sh, so
// that a plain static server sends a fifth of the bytes). The data is
// decompressed as it arrives, with the browser's DecompressionStream, byte
// for byte.
//
// kylvanderLoad.download(files, progress): files is a list of
// {name, gzip}; progress(received, total) is called as bytes arrive (total
// counts the files whose size the server has said). Returns an object with
// a promise of each file's ArrayBuffer by name; a promise rejects with an
// Error that says in words what failed.
"use strict";

var kylvanderLoad = (function () {
  function download(files, progress) {
    var received = {};
    var sizes = {};
    function report() {
      var got = 0;
      var total = 0;
      files.forEach(function (file) {
        got += received[file.name] || 0;
        total += sizes[file.name] || 0;
      });
      progress(got, total);
    }

    function fetchOne(file) {
      var name = file.name;
      return fetch(name).catch(function (error) {
        throw new Error("could not download " + name + " (" + error.message + ")");
      }).then(function (response) {
        if (!response.ok)
          throw new Error("could not download " + name + " (the server answered " +
                          response.status + " " + response.statusText + ")");
        var size = Number(response.headers.get("Content-Length")) || 0;
        // With a Content-Encoding the browser decodes the body itself, and
        // the length counts the encoded bytes.
        var encoded = !!response.headers.get("Content-Encoding");
        var length = 0;
        var short = null;
        sizes[name] = size;
        report();
        var body = response.body.pipeThrough(new TransformStream({
          transform: function (chunk, controller) {
            length += chunk.length;
            received[name] = encoded && size ? Math.min(length, size) : length;
            report();
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
        return new Response(body).arrayBuffer().catch(function (error) {
          throw new Error(short || "the download of " + name + " is damaged or incomplete (" +
                          error.message + ")");
        });
      });
    }

    var byName = {};
    files.forEach(function (file) { byName[file.name] = fetchOne(file); });
    return byName;
  }

  return { download: download };
})();
