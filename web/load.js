// Downloads what the page needs and counts the bytes as they come: the
// show's program (show.wasm), the sound worklet's program (sound.wasm) and
// the show's data (show.data.gz: the song and the pictures as emscripten's
// file packager laid them out, gzip-compressed by scripts/build-web.sh, so
// that a plain static server sends a fifth of the bytes). The fetching and
// the decompression, byte for byte, happen off the main thread, in
// download-worker.js.
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
    var pending = {};
    var byName = {};
    files.forEach(function (file) {
      byName[file.name] = new Promise(function (resolve, reject) {
        pending[file.name] = { resolve: resolve, reject: reject };
      });
    });
    function settle(name, how, value) {
      var waiting = pending[name];
      delete pending[name];
      if (waiting) waiting[how](value);
    }

    var worker = new Worker("download-worker.js");
    worker.onmessage = function (event) {
      var data = event.data;
      if (data.error !== undefined) {
        settle(data.name, "reject", new Error(data.error));
      } else if (data.bytes !== undefined) {
        settle(data.name, "resolve", data.bytes);
        if (Object.keys(pending).length === 0) worker.terminate();
      } else {
        received[data.name] = data.received;
        sizes[data.name] = data.size;
        var got = 0;
        var total = 0;
        files.forEach(function (file) {
          got += received[file.name] || 0;
          total += sizes[file.name] || 0;
        });
        progress(got, total);
      }
    };
    worker.onerror = function (event) {
      event.preventDefault();
      Object.keys(pending).forEach(function (name) {
        settle(name, "reject", new Error("could not download " + name +
                                         " (the page's download worker did not start)"));
      });
    };
    worker.postMessage(files);
    return byName;
  }

  return { download: download };
})();
