// The page of either program in the browser. It draws the worksheet, the
// results, the message boxes and the matrix dialog, and hands every key,
// paste and button to the program's WebAssembly module (quorv-page.js),
// which holds the inputs and applies the same rules, messages, flows and
// report as the desktop programs. Nothing here decides what is valid or
// what a message says; the script only carries texts to and from the
// module and shows what it answers.
'use strict';

(function () {
  const program = document.body.dataset.program;  // "quorvik" or "quorvane"
  const timings = { ready: null, lastCompute: null };
  window.quorvTimings = timings;

  // Where a key rule applies (the module's entry kinds).
  const FIELD = 0, GRID_CELL = 1, MATRIX_CELL = 2, NOTES = 3;
  // Message buttons and answers (the module's enums).
  const OK_BOX = 0, YES_NO = 1, YES_NO_DEFAULT_NO = 2;
  const OK = 0, YES = 1, NO = 2;
  const KIND_CLASS = ['warning', 'error', 'information', 'confirmation'];
  const HOME = '/home/web_user';

  let state = null;
  let busy = false;        // an asynchronous call of the module is under way
  let handedText = '';     // the text the module takes next (takeText)
  let pastedText = '';     // the text of the paste under way
  let pendingFile = null;  // a file dropped on the page, for the next open dialog
  let fileDropped = null;  // while the open dialog is up: takes a dropped file
  let waited = 0;          // ms the user spent in boxes and dialogs during a Compute
  let matrixOrder = 0;
  let matrixResolve = null;
  let keyDownIn = null, keyDownKey = null;

  const $ = (id) => document.getElementById(id);
  const el = (tag, props, children) => {
    const e = document.createElement(tag);
    Object.assign(e, props || {});
    for (const c of children || []) e.append(c);
    return e;
  };

  // --- calls into the module ----------------------------------------------
  // The synchronous calls go to the export itself: while a flow waits for
  // the user (a box, the matrix dialog), ccall would hand back a promise.
  function call(name, ret, types, args) {
    const allocated = [];
    const cArgs = (args || []).map((a, i) => {
      if ((types || [])[i] !== 'string') return a;
      const size = Module.lengthBytesUTF8(a) + 1, p = Module._malloc(size);
      Module.stringToUTF8(a, p, size);
      allocated.push(p);
      return p;
    });
    try {
      const result = Module['_' + name](...cArgs);
      return ret === 'string' ? Module.UTF8ToString(result) : result;
    } finally {
      allocated.forEach((p) => Module._free(p));
    }
  }
  const callJson = (name, types, args) => JSON.parse(call(name, 'string', types, args));
  async function callAsync(name, ret) {
    busy = true;
    try {
      return await Module.ccall(name, ret, [], [], { async: true });
    } finally {
      busy = false;
    }
  }
  function hand(text) {
    handedText = text;
    return Module.lengthBytesUTF8(text);
  }

  // --- message boxes --------------------------------------------------------
  function showMessage(kind, caption, text, buttons) {
    const started = performance.now();
    return new Promise((resolve) => {
      const box = $('msgBox');
      box.className = 'box ' + (KIND_CLASS[kind] || '');
      $('msgCaption').textContent = caption;
      $('msgText').textContent = text.replace(/\r\n?/g, '\n');
      const okButton = $('msgOk'), yes = $('msgYes'), no = $('msgNo');
      okButton.hidden = buttons !== OK_BOX;
      yes.hidden = no.hidden = buttons === OK_BOX;
      const safe = buttons === OK_BOX ? OK : NO;
      const finish = (answer) => {
        okButton.onclick = yes.onclick = no.onclick = null;
        box.oncancel = null;
        box.close();
        waited += performance.now() - started;
        resolve(answer);
      };
      okButton.onclick = () => finish(OK);
      yes.onclick = () => finish(YES);
      no.onclick = () => finish(NO);
      // Escape is the box's safe choice: OK, or No.
      box.oncancel = (e) => { e.preventDefault(); finish(safe); };
      box.showModal();
      (buttons === OK_BOX ? okButton : buttons === YES_NO ? yes : no).focus();
    });
  }
  // The boxes and beeps a synchronous rule queued, in order.
  async function showQueued(answer) {
    if (answer.beeps) beep();
    for (const b of answer.boxes) await showMessage(b.kind, b.caption, b.text, OK_BOX);
  }

  let audio = null;
  function beep() {
    try {
      audio = audio || new AudioContext();
      const tone = audio.createOscillator(), gain = audio.createGain();
      tone.frequency.value = 880;
      gain.gain.value = 0.1;
      tone.connect(gain).connect(audio.destination);
      tone.start();
      tone.stop(audio.currentTime + 0.08);
    } catch (e) { /* no sound: the box still says why */ }
  }

  // --- files ----------------------------------------------------------------
  function ensureFolder(path) {
    try { Module.FS.mkdir(path); } catch (e) { /* there already */ }
  }
  function fileText(path) {
    try { return Module.FS.readFile(path, { encoding: 'utf8' }); } catch (e) { return null; }
  }
  function download(name, text) {
    const url = URL.createObjectURL(new Blob([text], { type: 'text/plain' }));
    const a = el('a', { href: url, download: name });
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }
  // A picked or dropped file goes into the page's own folder for picked
  // files, which is the current folder: the flows name it as the user knows it.
  async function storePicked(file) {
    const folder = HOME + '/picked';
    ensureFolder(folder);
    Module.FS.chdir(folder);
    const name = file.name.replace(/[\/\0]/g, '_') || 'file';
    Module.FS.writeFile(name, new Uint8Array(await file.arrayBuffer()));
    return name;
  }
  // The open dialog: the browser's file chooser opens from its button (a
  // page may open it only from the user's own click), a file may be
  // dropped instead, and Cancel or Escape cancels.
  function askOpenFile(filter) {
    const started = performance.now();
    if (pendingFile) {
      const file = pendingFile;
      pendingFile = null;
      return storePicked(file).then(hand);
    }
    return new Promise((resolve) => {
      const dialog = $('fileDialog'), input = $('fileInput');
      const [description, patterns] = filter.split('|');
      input.accept = (patterns || '').split(';').map((p) => p.replace('*', '')).join(',');
      input.value = '';
      $('fileFilter').textContent = description + ' (' + (patterns || '') + ')';
      const finish = (file) => {
        input.onchange = null;
        dialog.oncancel = null;
        $('fileCancel').onclick = null;
        fileDropped = null;
        dialog.close();
        waited += performance.now() - started;
        if (!file) { resolve(0); return; }
        storePicked(file).then((name) => resolve(hand(name)));
      };
      input.onchange = () => { if (input.files[0]) finish(input.files[0]); };
      fileDropped = finish;
      $('fileCancel').onclick = () => finish(null);
      dialog.oncancel = (e) => { e.preventDefault(); finish(null); };
      dialog.showModal();
      $('fileChoose').focus();
    });
  }
  function saveFilePath(initialName) {
    const folder = HOME + '/downloads';
    ensureFolder(folder);
    const path = folder + '/' + initialName;
    try { Module.FS.unlink(path); } catch (e) { /* none */ }
    return hand(path);
  }

  function savedInputsKey() { return 'quorv:' + call('web_saved_inputs_path', 'string'); }
  // The saved-inputs file lives in the browser's storage between visits.
  function keepSavedInputs() {
    const text = fileText(call('web_saved_inputs_path', 'string'));
    try {
      if (text === null) localStorage.removeItem(savedInputsKey());
      else localStorage.setItem(savedInputsKey(), text);
    } catch (e) { /* storage refused (private mode): the inputs last this visit */ }
  }

  // --- the matrix dialog ----------------------------------------------------
  function matrixOpen(order, texts) {
    matrixOrder = order;
    const table = $('matrixCells');
    table.replaceChildren();
    let i = 0;
    for (let r = 1; r <= order; ++r) {
      const row = el('tr', {}, [el('th', { scope: 'row', textContent: String(r), id: 'matRow' + r })]);
      for (let c = 1; c <= r; ++c) {
        const cell = el('input', { id: 'mat' + c + 'x' + r, type: 'text', value: texts[i++], maxLength: 6,
                                   autocomplete: 'off', spellcheck: false });
        cell.setAttribute('aria-labelledby', 'matRow' + r + ' matCol' + c);
        if (c === r) {
          cell.readOnly = true;
          cell.tabIndex = -1;
          cell.className = 'diagonal';
        } else {
          wireEntry(cell, { kind: MATRIX_CELL, column: c, row: r });
        }
        row.append(el('td', {}, [cell]));
      }
      table.append(row);
    }
    const numbers = el('tr', {}, [el('td')]);
    for (let c = 1; c <= order; ++c) numbers.append(el('th', { scope: 'col', textContent: String(c), id: 'matCol' + c }));
    table.append(numbers);
    const dialog = $('matrixDialog');
    dialog.showModal();
    const first = $('mat1x2');
    if (first) { first.focus(); first.select(); } else $('CloseBtn').focus();
  }
  function matrixWait() {
    const started = performance.now();
    return new Promise((resolve) => {
      matrixResolve = (action) => { matrixResolve = null; waited += performance.now() - started; resolve(action); };
    });
  }
  function matrixAction(action) { if (matrixResolve) matrixResolve(action); }
  function matrixCellText(c, r) { const cell = $('mat' + c + 'x' + r); return hand(cell ? cell.value : ''); }
  function matrixSetCell(c, r, text) { const cell = $('mat' + c + 'x' + r); if (cell) cell.value = text; }
  function matrixFocus(c, r) { const cell = $('mat' + c + 'x' + r); if (cell) { cell.focus(); cell.select(); } }
  function matrixClose() { $('matrixDialog').close(); }

  // --- the module's view of the page ------------------------------------------
  const quorvUi = {
    showMessage, beep, askOpenFile, saveFilePath,
    pastedText: () => hand(pastedText),
    takeText: (buffer, size) => Module.stringToUTF8(handedText, buffer, size),
    setBusy: (on) => document.body.classList.toggle('busy', on),
    copyText: (text) => copyText(text),
    quit: () => quit(),
    matrixOpen, matrixWait, matrixCellText, matrixSetCell, matrixFocus, matrixClose,
  };

  // --- the worksheet ----------------------------------------------------------
  function labelled(id, caption, input) {
    return el('div', { className: 'entry' }, [el('label', { htmlFor: id, textContent: caption }), input]);
  }
  function button(id, caption, onClick) {
    const b = el('button', { id, type: 'button', textContent: caption });
    b.addEventListener('click', onClick);
    return b;
  }

  function buildPage() {
    const fields = el('div', { id: 'fields' });
    for (let n = 1; n <= state.visibleFields; ++n) {
      const input = el('input', { id: 'txtInput' + n, type: 'text', autocomplete: 'off', spellcheck: false });
      wireEntry(input, { kind: FIELD, column: n, row: 0 });
      fields.append(labelled(input.id, state.labels[n - 1], input));
    }
    const radios = el('fieldset', { id: 'RadioGroup1' }, [el('legend', { textContent: state.intervalCaption })]);
    state.radioItems.forEach((item, i) => {
      const radio = el('input', { type: 'radio', name: 'RadioGroup1', id: 'RadioGroup1-' + i, value: String(i) });
      radio.addEventListener('change', () => call('web_set_interval', null, ['number'], [i]));
      radios.append(el('div', {}, [radio, el('label', { htmlFor: radio.id, textContent: item })]));
    });
    const notes = el('textarea', { id: 'memoComments', rows: 3, maxLength: state.notesMaxLength });
    notes.addEventListener('input', () => call('web_set_notes', null, ['string'], [notes.value]));
    const buttons = el('div', { className: 'buttons' }, [
      button('cmdCompute', state.computeCaption, computeClick),
      button('btnclearData', 'Clear Data', clearDataClick),
      button('cmdExit', 'Exit', exitClick),
    ]);
    const files = state.usesInputsFiles
      ? el('div', { className: 'buttons files' }, [
          button('cmdOpenInputs', 'Open Inputs...', openInputsClick),
          button('cmdSaveInputs', 'Save Inputs As...', saveInputsClick),
        ])
      : '';
    const worksheet = el('main', { id: 'worksheet' }, [
      el('h1', { textContent: state.title }),
      el('p', { id: 'DescripFld', textContent: state.description }),
      labelled('memoComments', state.notesCaption, notes),
      // In the desktop's tab order: the fields, the grid, the interval, the buttons.
      fields,
      state.usesGrid ? el('div', { id: 'gridArea' }, [el('table', { id: 'grdData' })]) : '',
      radios, buttons, files,
    ]);
    const fileInput = el('input', { id: 'fileInput', type: 'file', className: 'offscreen', tabIndex: -1 });
    fileInput.setAttribute('aria-hidden', 'true');

    const results = el('section', { id: 'resultsWindow', hidden: true }, [
      el('h1', { id: 'resultsTitle', textContent: state.resultsTitle }),
      el('div', { id: 'memoResults', tabIndex: 0 }),
      el('div', { className: 'buttons' }, [
        button('cmdSaveOutput', 'Save Output', () => download('results.txt', call('web_results_file_text', 'string'))),
        button('cmdCopy', 'Copy', () => copyText(call('web_results_text', 'string'))),
        button('cmdPrint', 'Print', () => window.print()),
        button('cmdClearResults', 'Clear Results', () => { call('web_clear_results'); $('memoResults').replaceChildren(); }),
        button('cmdReturn', 'Return to Worksheet', returnClick),
      ]),
    ]);
    results.addEventListener('keydown', (e) => { if (e.key === 'Escape') { e.preventDefault(); returnClick(); } });

    const box = el('dialog', { id: 'msgBox', className: 'box' }, [
      el('h2', { id: 'msgCaption' }), el('p', { id: 'msgText' }),
      el('div', { className: 'buttons' }, [
        el('button', { id: 'msgOk', type: 'button', textContent: 'OK' }),
        el('button', { id: 'msgYes', type: 'button', textContent: 'Yes' }),
        el('button', { id: 'msgNo', type: 'button', textContent: 'No' }),
      ]),
    ]);
    box.setAttribute('aria-labelledby', 'msgCaption');
    box.setAttribute('aria-describedby', 'msgText');

    const matrix = el('dialog', { id: 'matrixDialog' }, [
      el('h2', { id: 'matrixCaption', textContent: state.matrixCaption }),
      el('div', { className: 'cells' }, [el('table', { id: 'matrixCells' })]),
      el('div', { className: 'buttons' }, [
        button('CloseBtn', 'Continue', () => matrixAction(1)),
        button('ClearBtn', 'Clear Data', () => matrixAction(2)),
        button('ReturnBtn', 'Return to Worksheet', () => matrixAction(3)),
      ]),
    ]);
    matrix.setAttribute('aria-labelledby', 'matrixCaption');
    matrix.addEventListener('cancel', (e) => { e.preventDefault(); matrixAction(3); });
    // Enter in a cell is Continue; on a button it presses that button.
    matrix.addEventListener('keydown', (e) => {
      if (e.key === 'Enter' && e.target.tagName === 'INPUT') { e.preventDefault(); matrixAction(1); }
    });

    const chooser = el('dialog', { id: 'fileDialog', className: 'box' }, [
      el('h2', { id: 'fileCaption', textContent: 'Open' }),
      el('p', { id: 'fileFilter' }),
      el('p', { textContent: 'Choose the file, or drop it on this page.' }),
      el('div', { className: 'buttons' }, [
        button('fileChoose', 'Choose File...', () => $('fileInput').click()),
        button('fileCancel', 'Cancel', () => {}),
      ]),
      fileInput,
    ]);
    chooser.setAttribute('aria-labelledby', 'fileCaption');

    $('loading').remove();
    document.body.append(worksheet, results, box, matrix, chooser);
    document.title = state.title;
  }

  function renderGrid() {
    const table = $('grdData');
    if (!table) return;
    const rows = state.grid.length;
    if (table.rows.length !== rows + 1) {
      table.replaceChildren();
      const head = el('tr');
      state.headings.forEach((h, c) => head.append(el('th', { scope: 'col', id: 'grdHead' + c, textContent: h })));
      table.append(head);
      for (let r = 0; r < rows; ++r) {
        const tr = el('tr', {}, [el('th', { scope: 'row', id: 'grdRow' + r })]);
        for (let c = 1; c < state.headings.length; ++c) {
          const input = el('input', { id: 'grdData-' + c + '-' + r, type: 'text', autocomplete: 'off', spellcheck: false });
          input.setAttribute('aria-labelledby', 'grdHead' + c + ' grdRow' + r);
          wireEntry(input, { kind: GRID_CELL, column: c, row: r });
          tr.append(el('td', {}, [input]));
        }
        table.append(tr);
      }
    }
    for (let r = 0; r < rows; ++r) {
      $('grdRow' + r).textContent = state.grid[r][0];
      for (let c = 1; c < state.headings.length; ++c) {
        const input = $('grdData-' + c + '-' + r);
        if (input.value !== (state.grid[r][c] || '')) input.value = state.grid[r][c] || '';
      }
    }
  }

  // Draws the module's state: fields, notes, interval, grid, captions, focus.
  function render(applyFocus) {
    state = callJson('web_state');
    for (let n = 1; n <= state.visibleFields; ++n) {
      const input = $('txtInput' + n);
      if (input.value !== state.fields[n - 1]) input.value = state.fields[n - 1];
    }
    const notes = $('memoComments');
    if (notes.value !== state.notes) notes.value = state.notes;
    const radio = $('RadioGroup1-' + state.interval);
    if (radio) radio.checked = true;
    $('cmdCompute').textContent = state.computeCaption;
    renderGrid();
    if (applyFocus && state.focus) focusPlace(state.focus);
  }
  function focusPlace(place) {
    const parts = place.split(' ');
    const target = parts[0] === 'field' ? $('txtInput' + parts[1]) : $('grdData-' + parts[1] + '-' + parts[2]);
    if (target && !$('worksheet').hidden) { target.focus(); target.select(); }
  }

  // Hands the page's text of every entry to the module.
  function gather() {
    for (let n = 1; n <= state.visibleFields; ++n) call('web_set_field', null, ['number', 'string'], [n, $('txtInput' + n).value]);
    call('web_set_notes', null, ['string'], [$('memoComments').value]);
    const checked = document.querySelector('input[name="RadioGroup1"]:checked');
    call('web_set_interval', null, ['number'], [checked ? Number(checked.value) : 0]);
    for (let r = 0; r < state.grid.length; ++r)
      for (let c = 1; c < state.headings.length; ++c) {
        const input = $('grdData-' + c + '-' + r);
        if (input) call('web_set_cell', null, ['number', 'number', 'string'], [c, r, input.value]);
      }
  }

  // --- typing and pasting -----------------------------------------------------
  function insertText(input, text) {
    const start = input.selectionStart, end = input.selectionEnd;
    input.setRangeText(text, start, end, 'end');
    input.dispatchEvent(new Event('input', { bubbles: true }));
  }
  function pushEntry(input, entry) {
    if (entry.kind === FIELD) call('web_set_field', null, ['number', 'string'], [entry.column, input.value]);
    else if (entry.kind === GRID_CELL) call('web_set_cell', null, ['number', 'number', 'string'], [entry.column, entry.row, input.value]);
  }
  const entryArgs = (entry) => [entry.kind, entry.column, entry.row];

  function wireEntry(input, entry) {
    input.addEventListener('keydown', (e) => {
      keyDownIn = input;
      keyDownKey = e.key;
      if (e.ctrlKey || e.metaKey || e.altKey || [...e.key].length !== 1) return;
      const key = e.key.codePointAt(0);
      const answer = callJson('web_filter_key', ['number', 'number', 'number', 'number'], [...entryArgs(entry), key]);
      if (answer.key !== key) {
        e.preventDefault();
        if (answer.key !== 0) insertText(input, String.fromCodePoint(answer.key));
      }
      if (answer.boxes.length || answer.beeps) showQueued(answer).then(() => input.focus());
    });
    input.addEventListener('keyup', (e) => {
      // Only a key pressed in this entry is released here.
      if (keyDownIn !== input || keyDownKey !== e.key) return;
      keyDownIn = null;
      if (entry.kind === MATRIX_CELL) return;
      const answer = callJson('web_key_up', ['number', 'number', 'number', 'string'], [...entryArgs(entry), input.value]);
      if (answer.changed) {
        input.value = answer.text;
        pushEntry(input, entry);
        if (entry.kind === FIELD) input.select();
        if (entry.kind === FIELD && entry.column === 1) covariatesChanged();
      }
      if (answer.boxes.length || answer.beeps) showQueued(answer).then(() => input.focus());
    });
    input.addEventListener('input', () => {
      pushEntry(input, entry);
      if (entry.kind === FIELD && entry.column === 1) covariatesChanged();
    });
    input.addEventListener('paste', (e) => {
      e.preventDefault();
      paste(input, entry, e.clipboardData ? e.clipboardData.getData('text/plain') : '');
    });
  }

  function covariatesChanged() {
    if (!state.usesGrid) return;
    const answer = callJson('web_covariates_changed');
    if (answer.changed) render(false);
    if (answer.boxes.length || answer.beeps) showQueued(answer).then(() => $('txtInput1').focus());
  }

  function paste(input, entry, text) {
    pastedText = text;
    if (entry.kind === MATRIX_CELL) {
      const block = callJson('web_matrix_paste', ['number', 'string'], [matrixOrder, text]);
      if (block.block) {
        let i = 0;
        if (block.cells.length)
          for (let r = 2; r <= matrixOrder; ++r) for (let c = 1; c < r; ++c) matrixSetCell(c, r, block.cells[i++]);
        showQueued(block).then(() => input.focus());
        return;
      }
    }
    const value = input.value, start = input.selectionStart, end = input.selectionEnd;
    const answer = callJson('web_paste', ['number', 'number', 'number', 'string', 'string', 'string'],
                            [...entryArgs(entry), value.slice(0, start), text, value.slice(end)]);
    if (answer.changed) {
      input.value = answer.text;
      const caret = Math.max(0, answer.text.length - (value.length - end));
      input.setSelectionRange(caret, caret);
      pushEntry(input, entry);
      if (entry.kind === GRID_CELL) render(false);
      if (entry.kind === FIELD && entry.column === 1) covariatesChanged();
    }
    showQueued(answer).then(() => input.focus());
  }

  // --- buttons ------------------------------------------------------------------
  function appendReport(index) {
    const report = callJson('web_report', ['number'], [index]);
    const memo = $('memoResults');
    memo.append(el('pre', { className: 'report', textContent: report.lines.join('\n') }));
    const figure = el('figure');
    if (report.svg) {
      const svg = new DOMParser().parseFromString(report.svg, 'image/svg+xml').documentElement;
      figure.append(document.importNode(svg, true));
    }
    figure.append(el('p', { className: 'summary', textContent: report.summary }));
    memo.append(figure);
  }
  function showResults() {
    $('worksheet').hidden = true;
    $('resultsWindow').hidden = false;
    document.title = state.resultsTitle;
    $('cmdSaveOutput').focus();
  }
  function returnClick() {
    $('resultsWindow').hidden = true;
    $('worksheet').hidden = false;
    document.title = state.title;
    focusPlace(state.focus || 'field 1');
  }

  async function computeClick() {
    if (busy) return;
    gather();
    waited = 0;
    const started = performance.now();
    const added = await callAsync('web_compute', 'number');
    timings.lastCompute = performance.now() - started - waited;
    keepSavedInputs();
    render(!added);
    if (added) {
      appendReport(call('web_report_count', 'number') - 1);
      showResults();
    }
  }
  async function clearDataClick() {
    if (busy) return;
    gather();
    await callAsync('web_clear_data');
    keepSavedInputs();
    render(true);
  }
  async function openInputsClick() {
    if (busy) return;
    gather();
    await callAsync('web_open_inputs');
    render(true);
  }
  async function saveInputsClick() {
    if (busy) return;
    gather();
    const path = await callAsync('web_save_inputs_as', 'string');
    render(true);
    if (path) download(path.split('/').pop(), fileText(path) || '');
  }
  async function exitClick() {
    if (busy) return;
    if (await callAsync('web_exit', 'number')) quit();
  }
  function quit() {
    document.body.replaceChildren(el('main', { className: 'ended' }, [
      el('h1', { textContent: state.title }),
      el('p', { textContent: 'The program has ended. Reload the page to start it again.' }),
    ]));
    window.close();
  }

  function copyText(text) {
    if (navigator.clipboard && navigator.clipboard.writeText) {
      navigator.clipboard.writeText(text).catch(() => copyBySelection(text));
    } else {
      copyBySelection(text);
    }
  }
  function copyBySelection(text) {
    const area = el('textarea', { value: text, className: 'offscreen' });
    document.body.append(area);
    area.select();
    document.execCommand('copy');
    area.remove();
  }

  // A file dropped on the page: the data file of Quorvik's Compute, or the
  // saved inputs Quorvane's Open Inputs... opens.
  function wireDrop() {
    document.addEventListener('dragover', (e) => { e.preventDefault(); });
    document.addEventListener('drop', (e) => {
      e.preventDefault();
      const file = e.dataTransfer && e.dataTransfer.files[0];
      if (!file) return;
      if (fileDropped) { fileDropped(file); return; }
      if (busy || $('worksheet').hidden) return;
      pendingFile = file;
      if (state.usesInputsFiles) openInputsClick(); else computeClick();
    });
  }

  // emscripten 3.1.6's in-memory file system keeps a file replaced by a
  // rename in its name table: once the new file is deleted the old one is
  // found again. Saving the inputs replaces their file so, and Clear Data
  // deletes it; without this a restored visit's inputs came back after
  // Clear Data. The replaced file is deleted first, which the in-memory
  // file system does without that fault.
  function renameReplacingCleanly() {
    const FS = Module.FS;
    const rename = FS.rename;
    FS.rename = (from, to) => {
      if (from !== to && FS.analyzePath(to).exists && !FS.isDir(FS.stat(to).mode)) FS.unlink(to);
      return rename(from, to);
    };
  }

  async function start() {
    renameReplacingCleanly();
    call('web_start', null, ['number'], [program === 'quorvik' ? 0 : 1]);
    let saved = null;
    try { saved = localStorage.getItem(savedInputsKey()); } catch (e) { /* no storage */ }
    if (saved !== null) Module.FS.writeFile(call('web_saved_inputs_path', 'string'), saved);
    state = callJson('web_state');
    buildPage();
    wireDrop();
    await callAsync('web_restore');
    render(true);
    timings.ready = performance.now();
    document.body.dataset.ready = '1';
  }

  window.Module = {
    quorvUi,
    onRuntimeInitialized: () => { start(); },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
  };
})();
