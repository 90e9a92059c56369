// host/web_module.js: the browser build's set-up inside the program's module, before main runs.
//
// Folders: the game runs in /game, with its data at /game/data (packed with the page) and its saved
// state "./.zanthstate" a link to /save/.zanthstate. /save is kept in the page's IndexedDB: it is read
// back before main starts (main waits for it), and every save copies it out again (zkSyncSaves, called
// by the host after each saved state). Saves belong to the page's origin. The reading starts once the
// WebAssembly is compiled (preRun), not as the module is made: a reload's new page that reads IndexedDB
// at once can find the state missing while the old page is still being taken down (seen in one reload
// of three on a loaded machine); the compile gives the old page's last save the time to settle.
//
// A page has no console to read: standard input is at its end, so a runtime error ends the program as
// it does without a debugger. The program's end stops its sound: its audio contexts are closed.

Module['stdin'] = function() { return null; };

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  FS.mkdir('/save');
  FS.mount(IDBFS, {}, '/save');
  FS.mkdirTree('/game');
  FS.symlink('/save/.zanthstate', '/game/.zanthstate');
  FS.chdir('/game');
  addOnExit(function() {
    for (var id in AL.contexts) AL.contexts[id].audioCtx.close();
  });
  addRunDependency('zk-saves');
  var reading = performance.now();
  FS.syncfs(true, function(error) {
    if (error) err('The saved state could not be read: ' + error);
    performance.measure('zk-saves-read', { start: reading });   // for the page's benchmark
    removeRunDependency('zk-saves');
  });
});

// One copy at a time: a save during a copy is copied once that one ends.
var zkSyncing = false, zkSyncAgain = false;
Module['zkSyncSaves'] = function() {
  if (zkSyncing) {
    zkSyncAgain = true;
    return;
  }
  zkSyncing = true;
  FS.syncfs(false, function(error) {
    zkSyncing = false;
    if (error) err('The saved state could not be kept: ' + error);
    if (zkSyncAgain) {
      zkSyncAgain = false;
      Module['zkSyncSaves']();
    }
  });
};
// Whether every save has reached IndexedDB (the page's tests wait for it).
Module['zkSavesKept'] = function() { return !zkSyncing && !zkSyncAgain; };
