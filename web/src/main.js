// The web viewer: log in, pick a report, fill its filter dialog, watch the run, read the table
// and the chart, drill down and back, download the result.
import { get, post, nextFrame } from './api.js';
import { el, clear } from './dom.js';
import { renderForms } from './dialog.js';
import { renderTable } from './table.js';
import { renderCharts } from './chart.js';

const app = document.getElementById('app');
const parts = {};

function layout(user) {
  clear(app);
  parts.reports = el('nav', { id: 'reports' });
  parts.dialog = el('section', { id: 'dialog' });
  parts.progress = el('section', { id: 'progress', hidden: true });
  parts.error = el('div', { id: 'error', role: 'alert', hidden: true });
  parts.tools = el('div', { id: 'tools', hidden: true });
  parts.table = el('section', { id: 'table' });
  parts.charts = el('aside', { id: 'charts' });
  app.append(
    el('header', {}, el('h1', {}, 'TavShopRpt'), el('span', { id: 'user' }, user),
      el('button', { type: 'button', id: 'logout', onclick: logout }, '退出')),
    el('main', {}, parts.reports,
      el('div', { id: 'work' }, parts.dialog, parts.progress, parts.error, parts.tools,
        el('div', { id: 'view' }, parts.table, parts.charts))));
}

function showError(message) {
  parts.error.hidden = !message;
  parts.error.textContent = message || '';
}

function loginForm(message) {
  clear(app);
  const user = el('input', { type: 'text', name: 'user', placeholder: '用户名或用户号', autofocus: true });
  app.append(el('form', { id: 'login', onsubmit: async (e) => {
    e.preventDefault();
    try {
      const session = await post('/api/login', { user: user.value });
      await start(session.user);
    } catch (error) {
      loginForm(error.message);
    }
  } }, el('h1', {}, 'TavShopRpt'), user, el('button', { type: 'submit' }, '登录'),
  message ? el('div', { className: 'notice', role: 'alert' }, message) : null));
}

async function logout() {
  await post('/api/logout');
  loginForm();
}

async function start(user) {
  layout(user);
  const reports = await get('/api/reports');
  for (const r of reports)
    parts.reports.append(el('button', { type: 'button', 'data-report': r.report, onclick: () => openDialog(r) },
      el('span', { className: 'number' }, r.number), ' ', r.name));
}

// Follows the session's work: its dialog while one is open, then the run's progress.
async function follow() {
  for (;;) {
    const status = await get('/api/run');
    const state = await get('/api/dialog');
    if (state.forms.length || state.message) {
      showDialog(state);
      return;
    }
    clear(parts.dialog);
    if (status.state !== 'running') return finished(status);
    showProgress(status);
    await nextFrame();
  }
}

function showDialog(state) {
  renderForms(parts.dialog, state, (next) => {
    if (next.forms.length || next.message) showDialog(next);
    else follow();
  });
}

function showProgress(status) {
  parts.progress.hidden = false;
  parts.progress.dataset.state = status.state;
  clear(parts.progress).append(el('span', {},
    el('span', { className: 'message' }, status.message || '正在运行'),
    status.periods ? el('span', { className: 'period' }, `第 ${status.period} / ${status.periods} 期`) : null,
    status.state === 'running' ? el('progress', { max: 1, value: status.bar ? status.fraction : undefined })
      : el('span', { className: 'outcome' }, status.state === 'done' ? '完成' : '失败')));
}

async function finished(status) {
  // The last run's progress stays in view with its outcome.
  if (status.state === 'done' || status.state === 'failed') showProgress(status);
  else parts.progress.hidden = true;
  parts.progress.dataset.state = status.state;
  if (status.state === 'failed') return showError(status.error);
  if (status.state !== 'done') return;
  showError('');
  await showResult();
}

async function showResult() {
  const result = await get('/api/result?count=5000');
  parts.tools.hidden = false;
  clear(parts.tools).append(el('span', { className: 'tools' },
    result.depth > 1 ? el('button', { type: 'button', id: 'back', onclick: back }, '返回') : null,
    ['csv', 'xlsx', 'html'].map((f) => el('a', { id: `download-${f}`, href: `/api/result/export?format=${f}`,
      download: `${result.report || 'report'}.${f}` }, f.toUpperCase())),
    result.rowCount > result.rows.length ? el('span', { className: 'more' }, `显示前 ${result.rows.length} / ${result.rowCount} 行`) : null));
  renderTable(parts.table, result, drill);
  let chart = null;
  try {
    chart = await get('/api/result/chart');
  } catch {
    chart = null;
  }
  renderCharts(parts.charts, chart);
  parts.table.dataset.report = result.report;
  parts.table.dataset.depth = result.depth;
}

async function run(request) {
  showError('');
  try {
    await request();
  } catch (error) {
    return showError(error.message);
  }
  await follow();
}

const openDialog = (r) => run(() => post(`/api/reports/${r.report}/dialog`));
const drill = (row) => run(() => post('/api/result/drill', { row }));

async function back() {
  try {
    await post('/api/result/back');
    await showResult();
  } catch (error) {
    showError(error.message);
  }
}

get('/api/session').then((s) => start(s.user)).catch(() => loginForm());
