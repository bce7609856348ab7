// Downloads what the page needs and counts the bytes as they come: the
// show's program (show.wasm), the sound worklet's program (sound.wasm) and
// the show's data (show.data.gz: the song and the pictures as emscripten's
// file packager laid them out, gzip-compressed by scripts/build-web.sh, so
// that a plain static server sends a fifth of the bytes). The data is
// decompressed here with the browser's DecompressionStream, byte for byte.
//
// kylvanderLoad.download(files, progress): files is a list of
// {name, gzip}; progress(received, total) is called as bytes arrive (total
// counts the files whose size the server has said). Resolves to an object
// of ArrayBuffers by name; rejects with an Error that says in words what
// failed.
"use strict";

var kylvanderLoad = (function () {
  function gunzip(bytes, name) {
    // A server that sent the file with Content-Encoding gzip has had it
    // decompressed by the browser already.
    if (bytes[0] !== 0x1f || bytes[1] !== 0x8b) return Promise.resolve(bytes.buffer);
    if (typeof DecompressionStream === "undefined")
      return Promise.reject(new Error("this browser cannot decompress " + name +
                                      " (it has no DecompressionStream)"));
    var stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("gzip"));
    return new Response(stream).arrayBuffer().catch(function (error) {
      throw new Error("the download of " + name + " is damaged (" + error.message + ")");
    });
  }

  function join(chunks, length) {
    var bytes = new Uint8Array(length);
    var at = 0;
    chunks.forEach(function (chunk) {
      bytes.set(chunk, at);
      at += chunk.length;
    });
    return bytes;
  }

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
        var encoded = response.headers.get("Content-Encoding");
        sizes[name] = size;
        received[name] = 0;
        report();
        var reader = response.body.getReader();
        var chunks = [];
        var length = 0;
        function next() {
          return reader.read().then(function (part) {
            if (part.done) return;
            chunks.push(part.value);
            length += part.value.length;
            received[name] = encoded ? Math.min(length, size) : length;
            report();
            return next();
          });
        }
        return next().catch(function (error) {
          throw new Error("the download of " + name + " broke off (" + error.message + ")");
        }).then(function () {
          if (size && !encoded && length !== size)
            throw new Error("the download of " + name + " broke off after " + length + " of " +
                            size + " bytes");
          var bytes = join(chunks, length);
          return file.gzip ? gunzip(bytes, name) : bytes.buffer;
        });
      });
    }

    return Promise.all(files.map(fetchOne)).then(function (buffers) {
      var byName = {};
      files.forEach(function (file, i) { byName[file.name] = buffers[i]; });
      return byName;
    });
  }

  return { download: download };
})();
