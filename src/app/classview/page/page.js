'use strict';
// The students' page: live values, the instruments' readouts, the lab's graph
// and table, read from the program over one WebSocket. It only listens: it
// sends nothing, and reconnects by itself when the connection drops.
(function () {
  const token = new URLSearchParams(location.search).get('k') || '';
  const $ = (id) => document.getElementById(id);
  const query = 'k=' + encodeURIComponent(token);

  // The live values, in the lab's order, and how a graph's title declines them.
  const SHOWN = ['CurrentMilliamps', 'VoltageMillivolts', 'FrequencyHz', 'PhaseDegrees',
    'ImpedanceOhms', 'PowerMilliwatts', 'PowerFactor'];
  const CASES = {
    TimeSeconds: ['času', 'čase'], FrequencyHz: ['kmitočtu', 'kmitočtu'],
    CurrentMilliamps: ['proudu', 'proudu'], VoltageMillivolts: ['napětí', 'napětí'],
    ImpedanceOhms: ['impedance', 'impedanci'], PhaseDegrees: ['fázového posunu', 'fázovém posunu'],
    PowerMilliwatts: ['činného výkonu', 'činném výkonu'], PowerFactor: ['účiníku', 'účiníku'],
  };
  // The window's readouts, top to bottom.
  const READOUTS = [['Panel3', 'Ampérmetr'], ['Panel2', 'Voltmetr'], ['Panel10', 'Voltmetr zdroje'],
    ['Panel6', 'Voltmetr zdroje'], ['Panel4', 'Voltmetr zdroje'], ['Panel5', 'Kmitočet generátoru']];
  const READOUT_NAMES = new Map(READOUTS);
  const readoutOrder = (key) => { const i = READOUTS.findIndex(([k]) => k === key); return i < 0 ? READOUTS.length : i; };
  const TABLE_ROWS = 100;      // the newest rows shown; the CSV has them all
  const SILENCE_MS = 2500;     // no message this long: the connection is dead
  const OPENING_MS = 1500;     // an attempt that has not opened by then will not
  const RETRY_MS = 500;
  const SPOKEN_MS = 5000;      // how often a screen reader hears the values

  // The record's columns until the program names them (its first message).
  let columns = [['TimeSeconds', 't', 's', 'čas', 3], ['FrequencyHz', 'f', 'Hz', 'kmitočet', 2],
    ['CurrentMilliamps', 'I', 'mA', 'proud', 4], ['VoltageMillivolts', 'U', 'mV', 'napětí', 3],
    ['ImpedanceOhms', '|Z|', 'Ω', 'impedance', 3], ['PhaseDegrees', 'φ', '°', 'fázový posun', 2],
    ['PowerMilliwatts', 'P', 'mW', 'činný výkon', 5], ['PowerFactor', 'cos φ', '', 'účiník', 4], ['Run']]
    .map(([Key, Symbol, Unit, Name, Decimals]) => ({ Key, Symbol, Unit, Name, Decimals }));
  let index = {};              // column index by key
  columns.forEach((col, i) => { index[col.Key] = i; });
  let rows = [];
  let circuit = {};
  let lab = {};
  let graph = null;
  let graphShape = '';
  let drawPending = false;
  let socket = null;
  let lastHeard = 0;
  let retry = null;
  let linkDead = false;
  let lastSpoken = 0;

  // --- numbers as a Czech reader writes them
  const formats = new Map();
  function number(v, decimals) {
    if (v === null || v === undefined || !isFinite(v)) return '–';
    let f = formats.get(decimals);
    if (!f) {
      f = new Intl.NumberFormat('cs-CZ', { minimumFractionDigits: decimals, maximumFractionDigits: decimals,
        useGrouping: false });
      formats.set(decimals, f);
    }
    return f.format(v);
  }
  // Fewer decimals on the big values than in the file, as the lab shows them.
  function shownDecimals(key, v) {
    if (key === 'PhaseDegrees' || key === 'FrequencyHz') return 1;
    if (key === 'PowerFactor') return 3;
    const size = Math.abs(v);
    return size >= 100 ? 1 : size >= 10 ? 2 : 3;
  }
  function withUnit(text, unit) {
    if (!unit || text === '–') return text;
    return unit === '°' ? text + unit : text + '\u00a0' + unit;
  }
  function column(key) { return columns[index[key]] || { Key: key, Symbol: key, Unit: '', Name: key, Decimals: 3 }; }
  function capital(s) { return s.charAt(0).toUpperCase() + s.slice(1); }
  function header(c) { return c.Unit ? c.Symbol + ' (' + c.Unit + ')' : c.Symbol; }
  // The graph library writes its labels as HTML.
  const html = (s) => String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

  // --- the live values
  const tiles = {};
  function buildTiles() {
    const box = $('values');
    box.textContent = '';
    for (const key of SHOWN) {
      const c = column(key);
      const tile = document.createElement('div');
      tile.className = 'tile';
      const name = document.createElement('span');
      name.className = 'name';
      name.textContent = capital(c.Name) + ' ' + c.Symbol;
      const value = document.createElement('span');
      value.className = 'value';
      value.id = 'value-' + key;
      value.textContent = '–';
      tile.append(name, value);
      box.append(tile);
      tiles[key] = value;
    }
  }
  function showValues() {
    const spoken = [];
    for (const key of SHOWN) {
      const v = circuit[key];
      const c = column(key);
      const text = withUnit(typeof v === 'number' ? number(v, shownDecimals(key, v)) : '–', c.Unit);
      const tile = tiles[key];
      if (!tile) continue;
      if (tile.textContent !== text) tile.textContent = text;
      tile.dataset.value = typeof v === 'number' ? String(v) : '';
      spoken.push(c.Name + ' ' + text);
    }
    const now = performance.now();
    if (now - lastSpoken >= SPOKEN_MS) {
      lastSpoken = now;
      $('spoken').textContent = capital(spoken.join(', ')) + '.';
    }
  }

  // --- the instruments' readouts
  function showReadouts(readouts) {
    const list = $('readouts');
    const keys = Object.keys(readouts || {}).sort((a, b) => readoutOrder(a) - readoutOrder(b));
    const shape = keys.join(',');
    if (list.dataset.shape !== shape) {
      list.textContent = '';
      for (const key of keys) {
        const dt = document.createElement('dt');
        dt.textContent = READOUT_NAMES.get(key) || key;
        const dd = document.createElement('dd');
        dd.id = 'readout-' + key;
        list.append(dt, dd);
      }
      list.dataset.shape = shape;
    }
    for (const key of keys) {
      const text = String(readouts[key]).trim();
      const dd = $('readout-' + key);
      if (dd.textContent !== text) dd.textContent = text;
    }
  }

  // --- the record
  function applyChange(c) {
    switch (c.Change) {
      case 'Reset':
        columns = c.Columns || [];
        index = {};
        columns.forEach((col, i) => { index[col.Key] = i; });
        rows = c.Rows || [];
        buildTiles();
        buildTableHead();
        break;
      case 'Added': rows.splice(Math.min(c.Row, rows.length), 0, c.Values); break;
      case 'Removed': if (c.Row < rows.length) rows.splice(c.Row, 1); break;
      case 'Cleared': rows = []; break;
    }
  }

  function buildTableHead() {
    const tr = document.createElement('tr');
    for (const c of columns) {
      if (c.Key === 'Run') continue;
      const th = document.createElement('th');
      th.scope = 'col';
      th.textContent = header(c);
      tr.append(th);
    }
    const head = $('table').tHead;
    head.textContent = '';
    head.append(tr);
  }

  function showTable() {
    const body = $('table').tBodies[0];
    const from = Math.max(0, rows.length - TABLE_ROWS);
    const shown = columns.filter((c) => c.Key !== 'Run');
    const fragment = document.createDocumentFragment();
    for (let r = from; r < rows.length; ++r) {
      const tr = document.createElement('tr');
      for (const c of shown) {
        const td = document.createElement('td');
        td.textContent = number(rows[r][index[c.Key]], c.Decimals);
        tr.append(td);
      }
      fragment.append(tr);
    }
    // The newest row stays in sight unless the reader scrolled up.
    const wrap = body.closest('.table-wrap');
    const following = wrap.scrollTop + wrap.clientHeight >= wrap.scrollHeight - 4;
    body.textContent = '';
    body.append(fragment);
    if (following) wrap.scrollTop = wrap.scrollHeight;
    $('table-note').textContent = rows.length === 0 ? 'Zatím žádné body.'
      : rows.length > TABLE_ROWS ? 'Posledních ' + TABLE_ROWS + ' z ' + rows.length + ' bodů (všechny jsou v CSV).'
        : 'Bodů: ' + rows.length + '.';
  }

  // --- the graph (dygraphs)
  function choice() {
    const g = lab.Graph || {};
    return { x: g.X || 'TimeSeconds', y: g.Y || 'CurrentMilliamps', logX: !!g.LogX, logY: !!g.LogY,
      fit: !!g.Fit && lab.Fit ? lab.Fit : null };
  }

  function runName(run) {
    for (const r of lab.Runs || []) if (r.Run === run && r.Name) return r.Name;
    return 'Řada ' + run;
  }

  function graphData(ch) {
    const xi = index[ch.x], yi = index[ch.y], ri = index.Run;
    const runs = [];
    const runAt = new Map();
    for (const r of rows) {
      const run = ri === undefined ? 1 : r[ri];
      if (!runAt.has(run)) { runAt.set(run, runs.length); runs.push(run); }
    }
    const width = 1 + runs.length + (ch.fit ? 1 : 0);
    const data = [];
    for (const r of rows) {
      const x = r[xi], y = r[yi];
      if (typeof x !== 'number' || typeof y !== 'number') continue;
      if ((ch.logX && x <= 0) || (ch.logY && y <= 0)) continue;
      const row = new Array(width).fill(null);
      row[0] = x;
      row[1 + runAt.get(ri === undefined ? 1 : r[ri])] = y;
      data.push(row);
    }
    if (ch.x !== 'TimeSeconds') data.sort((a, b) => a[0] - b[0]);
    if (ch.fit && data.length > 1) {
      const ends = [data[0][0], data[data.length - 1][0]];
      const line = ends.map((x) => { const row = new Array(width).fill(null); row[0] = x; row[width - 1] = ch.fit.Slope * x + ch.fit.Intercept; return row; });
      data.unshift(line[0]);
      data.push(line[1]);
    }
    const labels = [header(column(ch.x))];
    // The library needs a name per series, each its own.
    for (const name of runs.map(runName).concat(ch.fit ? ['Přímka'] : [])) {
      let unique = name;
      for (let n = 2; labels.includes(html(unique)); ++n) unique = name + ' (' + n + ')';
      labels.push(html(unique));
    }
    return { data, labels };
  }

  function axisNumber(v) {
    const size = Math.abs(v);
    const d = size === 0 || size >= 100 ? 0 : size >= 10 ? 1 : size >= 1 ? 2 : 3;
    return number(v, d);
  }

  function draw() {
    drawPending = false;
    showTable();
    const ch = choice();
    const { data, labels } = graphData(ch);
    const empty = data.length === 0;
    $('graph-empty').hidden = !empty;
    $('graph').hidden = empty;
    const yc = column(ch.y), xc = column(ch.x);
    $('graph-title').textContent = CASES[ch.y] && CASES[ch.x]
      ? 'Závislost ' + CASES[ch.y][0] + ' na ' + CASES[ch.x][1] : 'Graf';
    $('fit').textContent = ch.fit ? 'Přímka: směrnice ' + number(ch.fit.Slope, 4) +
      (ch.fit.SlopeUnit ? '\u00a0' + ch.fit.SlopeUnit : '') + ', úsek ' + number(ch.fit.Intercept, 4) +
      (yc.Unit ? '\u00a0' + yc.Unit : '') + ', R² = ' + number(ch.fit.R2, 4) : '';
    if (empty) return;
    // Lines where the points follow one another (time, a sweep's frequency).
    const joined = ch.x === 'TimeSeconds' || ch.x === 'FrequencyHz';
    const shape = [ch.x, ch.y, ch.logX, ch.logY, labels.join('|'), joined, rows.length > 400].join(';');
    const options = {
      file: data,
      labels: labels,
      xlabel: html(capital(xc.Name) + ' ' + header(xc)),
      ylabel: html(capital(yc.Name) + ' ' + header(yc)),
      drawPoints: !joined || rows.length <= 400,
      pointSize: 2.5,
      strokeWidth: joined ? 1.5 : 0,
      colors: ['#0b4fb3', '#b3400b', '#1b7a1b', '#7a1b7a', '#5a5a00', '#006b6b'].slice(0, labels.length - 1 - (ch.fit ? 1 : 0))
        .concat(ch.fit ? ['#c00000'] : []),
      series: ch.fit ? { [labels[labels.length - 1]]: { drawPoints: false, strokeWidth: 2, connectSeparatedPoints: true } } : {},
      axes: {
        x: { logscale: ch.logX, axisLabelFormatter: axisNumber, valueFormatter: (v) => number(v, xc.Decimals) },
        y: { logscale: ch.logY, axisLabelFormatter: axisNumber, valueFormatter: (v) => number(v, yc.Decimals) },
      },
      legend: 'onmouseover',
      labelsSeparateLines: true,
      axisLabelFontSize: 13,
    };
    if (!graph) {
      graph = new Dygraph($('graph'), data, options);
      $('graph').addEventListener('wheel', wheel, { passive: false });
    } else if (shape !== graphShape) {
      graph.updateOptions(Object.assign(options, { dateWindow: null, valueRange: null }));
    } else {
      graph.updateOptions({ file: data, series: options.series });
    }
    graphShape = shape;
  }

  // Zoom about the pointer: each notch a fifth in or out, on both axes.
  function wheel(e) {
    if (!graph) return;
    e.preventDefault();
    const area = graph.getArea();
    const factor = e.deltaY < 0 ? 0.8 : 1.25;
    const ch = choice();
    const scaled = (range, at, log) => {
      const f = log ? Math.log10 : (v) => v;
      const back = log ? (v) => Math.pow(10, v) : (v) => v;
      const a = f(range[0]), b = f(range[1]);
      const c = a + (b - a) * at;
      return [back(c - (c - a) * factor), back(c + (b - c) * factor)];
    };
    const rect = $('graph').getBoundingClientRect();
    const px = Math.min(1, Math.max(0, (e.clientX - rect.left - area.x) / area.w));
    const py = Math.min(1, Math.max(0, 1 - (e.clientY - rect.top - area.y) / area.h));
    graph.updateOptions({
      dateWindow: scaled(graph.xAxisRange(), px, ch.logX),
      valueRange: scaled(graph.yAxisRange(), py, ch.logY),
    });
  }

  function scheduleDraw() {
    if (drawPending) return;
    drawPending = true;
    setTimeout(draw, 200);
  }

  // --- the connection
  function setStatus(text, kind) {
    const s = $('status');
    if (s.textContent !== text) s.textContent = text;
    s.className = 'status ' + kind;
    document.body.classList.toggle('stale', kind !== 'ok');
  }

  function handle(m) {
    let changed = false;
    if (Array.isArray(m.record)) {
      for (const c of m.record) applyChange(c);
      changed = m.record.length > 0;
    }
    circuit = m.circuit || {};
    showValues();
    showReadouts(m.readouts);
    const before = JSON.stringify([lab.Graph, lab.Fit, lab.Runs]);
    lab = m.lab || {};
    if (changed || before !== JSON.stringify([lab.Graph, lab.Fit, lab.Runs])) scheduleDraw();
  }

  function connect() {
    retry = null;
    if (linkDead) return;
    const scheme = location.protocol === 'https:' ? 'wss://' : 'ws://';
    const s = new WebSocket(scheme + location.host + '/live?' + query);
    socket = s;
    lastHeard = performance.now();
    s.onmessage = (e) => {
      if (socket !== s) return;
      lastHeard = performance.now();
      setStatus('Připojeno', 'ok');
      handle(JSON.parse(e.data));
    };
    s.onclose = () => { if (socket === s) lost(); };
  }

  function lost() {
    if (socket) {
      const s = socket;
      socket = null;
      s.onmessage = s.onclose = null;
      try { s.close(); } catch (e) { /* already closed */ }
    }
    setStatus('Spojení přerušeno, připojuji znovu…', 'lost');
    // A refused link is not a dropped connection: the teacher made a new one.
    fetch('./?' + query, { method: 'HEAD', cache: 'no-store' }).then((r) => {
      if (r.status === 403) {
        linkDead = true;
        setStatus('Tento odkaz už neplatí. Načtěte nový kód QR od učitele.', 'dead');
      }
    }).catch(() => {});
    if (!retry) retry = setTimeout(connect, RETRY_MS);
  }

  // Nothing heard for a while (the program sends at least once a second),
  // or an attempt that does not open: try again.
  setInterval(() => {
    const patience = socket && socket.readyState === WebSocket.OPEN ? SILENCE_MS : OPENING_MS;
    if (socket && performance.now() - lastHeard > patience) lost();
  }, 500);

  // For a script that checks the page: what it holds and what its graph draws.
  window.classView = Object.freeze({
    points: () => rows.length,
    graphRows: () => (graph ? graph.numRows() : 0),
    xRange: () => (graph ? graph.xAxisRange() : null),
    connected: () => !!socket && socket.readyState === WebSocket.OPEN,
  });

  $('unzoom').addEventListener('click', () => { if (graph) graph.resetZoom(); });
  $('csv-semicolon').href = 'record.csv?' + query + '&dialect=semicolon';
  $('csv-comma').href = 'record.csv?' + query + '&dialect=comma';
  buildTiles();
  buildTableHead();
  showTable();
  connect();
})();
