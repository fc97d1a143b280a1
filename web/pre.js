// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside the program's module before it starts. In the browser the data directory /vorlanix
// lives in IndexedDB: it is read in before main runs and written back after every file the game
// replaces (each replacement ends with a rename). Under node the machine's files are reachable
// below /host, and the program starts in the caller's folder, so the replay checks pass paths as given.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  if (ENVIRONMENT_IS_NODE) {
    FS.mkdir('/host');
    FS.mount(NODEFS, { root: '/' }, '/host');
    FS.chdir('/host' + process.cwd());
    return;
  }
  var dataDir = Module.dataDirectory || '/vorlanix';
  FS.mkdir(dataDir);
  FS.mount(IDBFS, {}, dataDir);
  addRunDependency('vorlanix-data');
  FS.syncfs(true, function (error) {
    if (error) Module.printErr('the saved files cannot be read: ' + error);
    removeRunDependency('vorlanix-data');
  });

  var syncing = false, again = false;
  function save() {
    if (syncing) { again = true; return; }
    syncing = true;
    FS.syncfs(false, function (error) {
      syncing = false;
      if (error) Module.printErr('the files cannot be saved in the browser: ' + error);
      if (again) { again = false; save(); return; }
      if (Module.onDataSaved) Module.onDataSaved();
    });
  }
  // Whether a write is still on its way into IndexedDB (a page about to reload waits for it).
  Module.savingData = function () { return syncing || again; };
  var rename = FS.rename;
  FS.rename = function (oldPath, newPath) {
    var result = rename.apply(FS, arguments);
    if (newPath.indexOf(dataDir + '/') === 0) {
      save();
      if (Module.onFileWritten) Module.onFileWritten(newPath);
    }
    return result;
  };
});
