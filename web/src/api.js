// The JSON API of tavshoprpt serve, as the page calls it (the session rides on a cookie).
export async function call(method, path, body) {
  const options = { method, headers: {} };
  if (body !== undefined) {
    options.headers['Content-Type'] = 'application/json';
    options.body = JSON.stringify(body);
  }
  const response = await fetch(path, options);
  const text = await response.text();
  let data = null;
  try {
    data = text ? JSON.parse(text) : null;
  } catch {
    data = { error: text };
  }
  if (!response.ok) {
    const error = new Error((data && data.error) || response.statusText);
    error.status = response.status;
    throw error;
  }
  return data;
}

export const get = (path) => call('GET', path);
export const post = (path, body) => call('POST', path, body ?? {});

// Resolves after the browser has painted once more: the pace at which the page asks again.
export const nextFrame = () => new Promise((resolve) => setTimeout(resolve, 50));
