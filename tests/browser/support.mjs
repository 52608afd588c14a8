// What the browser tests share: a company database and a `tavshoprpt serve` of their own on a free
// port, the distribution's chromium driven headless through puppeteer-core, and DOM waits.
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createInterface } from 'node:readline';

const require = createRequire(join(process.env.TAV_WEB_DIR, 'package.json'));
const puppeteer = require('puppeteer-core');

export const program = process.env.TAV_PROGRAM;

export async function startAll() {
  const dir = mkdtempSync(join(tmpdir(), 'tavbrowser-'));
  const db = join(dir, 'co.db');
  execFileSync(program, ['init', '--db', db, '--tasks', '600', '--seed', '7'], { stdio: 'ignore' });
  const server = spawn(program, ['serve', '--db', db, '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const line = await new Promise((resolve, reject) => {
    createInterface({ input: server.stdout }).once('line', resolve);
    server.once('exit', (code) => reject(new Error(`serve ended with ${code}`)));
  });
  const url = line.replace('listening on ', '').trim();
  const browser = await puppeteer.launch({
    executablePath: process.env.TAV_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage', `--user-data-dir=${join(dir, 'profile')}`],
  });
  const page = await browser.newPage();
  page.setDefaultTimeout(Number(process.env.TAV_WAIT_MS || 120000));
  const stop = async () => {
    await browser.close();
    server.kill('SIGTERM');
    rmSync(dir, { recursive: true, force: true });
  };
  return { db, dir, url, browser, page, stop };
}

export async function login(page, url, user) {
  await page.goto(url);
  await page.waitForSelector('#login input[name=user]');
  await page.type('#login input[name=user]', user);
  await page.click('#login button[type=submit]');
  await page.waitForSelector('#reports button[data-report]');
}

// The form's control as the page draws it ("name:index").
export const control = (name, index = -1) => `#dialog .form.active [data-control="${name}:${index}"]`;

// Sets a control's value as a user would and waits until the server's answer is drawn.
export async function setValue(page, selector, value) {
  await page.waitForSelector(selector);
  await page.$eval(selector, (node, v) => {
    node.dataset.stale = '1';
    node.value = v;
    node.dispatchEvent(new Event('change', { bubbles: true }));
  }, value);
  await page.waitForFunction((s) => { const n = document.querySelector(s); return n && !n.dataset.stale; }, {}, selector);
}

export async function clickAndRedraw(page, selector) {
  await page.waitForSelector(selector);
  await page.$eval(selector, (node) => { node.dataset.stale = '1'; });
  await page.click(selector);
  await page.waitForFunction((s) => { const n = document.querySelector(s); return !n || !n.dataset.stale; }, {}, selector);
}

// Waits for the run that the last action started to end, and for its table.
export async function waitResult(page, report, depth = 1) {
  await page.waitForFunction((r, d) => {
    const t = document.querySelector('#table');
    return t && t.dataset.report === r && t.dataset.depth === String(d) && document.querySelector('#result tbody tr');
  }, {}, report, depth);
}

export function check(condition, message) {
  if (!condition) throw new Error(message);
}

export async function runTest(name, body) {
  const env = await startAll();
  try {
    await body(env);
    console.log(`${name}: passed`);
  } catch (error) {
    console.error(`${name}: FAILED: ${error.stack || error}`);
    const text = await env.page.evaluate(() => document.body.innerText).catch(() => '');
    console.error(`the page held:\n${text.slice(0, 3000)}`);
    process.exitCode = 1;
  } finally {
    await env.stop();
  }
}
